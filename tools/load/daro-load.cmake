# daro-load: bot players that measure a running server (bench/server_load.sh).
# Included by server/CMakeLists.txt: it needs the server's libraries, and
# tools/ is read before server/.
add_executable(daro-load ${CMAKE_CURRENT_LIST_DIR}/load.cpp)
target_include_directories(daro-load PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(daro-load PRIVATE daro_server_core Boost::headers Threads::Threads)
set_target_properties(daro-load PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
