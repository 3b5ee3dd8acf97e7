#include "win/message_box.h"

#include "win/text.h"

namespace quarnel {

int ShowMessage(const std::string& title, const std::string& text, UINT buttons) {
    // Task-modal without an owner disables every top-level window of the program.
    return MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(),
                       buttons | MB_TASKMODAL | MB_SETFOREGROUND);
}

} // namespace quarnel
