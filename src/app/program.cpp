#include "app/program.h"

namespace quarnel {

Program& TheProgram() {
    static Program program;
    return program;
}

HFONT ProgramFont(int number) {
    return TheProgram().fonts.at(static_cast<size_t>(number - 1)).get();
}

} // namespace quarnel
