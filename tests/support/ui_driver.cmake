# What the UI driver needs besides its own sources: the hook DLL it places into the
# program under test to read menus, and the small sample program its own tests drive.
# Both land beside the test programs (build/tests).

add_library(menu_probe SHARED ${CMAKE_CURRENT_LIST_DIR}/menu_probe/menu_probe.cpp)
target_compile_options(menu_probe PRIVATE ${QUARNEL_WARNINGS})
target_include_directories(menu_probe PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_target_properties(menu_probe PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_BINARY_DIR}/tests)

add_executable(sample_app WIN32 ${CMAKE_CURRENT_LIST_DIR}/sample_app/sample_app.cpp
               ${CMAKE_CURRENT_LIST_DIR}/sample_app/sample_app.rc)
target_link_libraries(sample_app PRIVATE quarnel_core)
target_link_options(sample_app PRIVATE -municode)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/sample_app/sample_app.rc PROPERTIES
    OBJECT_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/sample_app/sample_app.manifest)
set_target_properties(sample_app PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

# The test programs start these, so building any of them builds both.
cmake_language(DEFER CALL add_dependencies quarnel_test_support menu_probe sample_app)
