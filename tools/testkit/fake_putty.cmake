# Stand-ins for putty.exe that record each start (see fake_putty/fake_putty.cpp): one whose
# version resource reads 0.77, from which PuTTY takes -pwfile, and one of 0.76.
foreach(variant "fake_putty;77" "fake_putty_old;76")
    list(GET variant 0 target)
    list(GET variant 1 minor)
    add_executable(${target} WIN32 ${CMAKE_CURRENT_LIST_DIR}/fake_putty/fake_putty.cpp
                   ${CMAKE_CURRENT_LIST_DIR}/fake_putty/fake_putty.rc)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Werror>)
    target_compile_definitions(${target} PRIVATE FAKE_PUTTY_MINOR=${minor})
    target_link_libraries(${target} PRIVATE shell32)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME putty
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/${target})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/src)
endforeach()
