# A stand-in putty.exe that records each start (see fake_putty/fake_putty.cpp).
add_executable(fake_putty WIN32 ${CMAKE_CURRENT_LIST_DIR}/fake_putty/fake_putty.cpp)
target_compile_options(fake_putty PRIVATE -Wall -Wextra -Werror)
target_link_libraries(fake_putty PRIVATE shell32)
set_target_properties(fake_putty PROPERTIES OUTPUT_NAME putty
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/fake_putty)
target_include_directories(fake_putty PRIVATE ${CMAKE_SOURCE_DIR}/src)
