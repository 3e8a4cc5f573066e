# Warnings every target of the project compiles with; linked as an interface target so that no
# flag leaks into third-party code.
add_library(pindrel_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(pindrel_warnings INTERFACE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
        -Woverloaded-virtual -Wcast-align -Wimplicit-fallthrough)
endif()
