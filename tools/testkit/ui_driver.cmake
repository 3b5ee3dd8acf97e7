# The hook DLL the UI driver places into the program under test to read its menus; it
# lands beside the test programs (build/tests).

add_library(menu_probe SHARED ${CMAKE_CURRENT_LIST_DIR}/menu_probe/menu_probe.cpp)
target_compile_options(menu_probe PRIVATE ${QUARNEL_WARNINGS})
target_include_directories(menu_probe PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(menu_probe PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_BINARY_DIR}/tests)

# The test programs start these, so building any of them builds both.
cmake_language(DEFER CALL add_dependencies quarnel_test_support menu_probe)
