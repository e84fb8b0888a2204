# The deliverables run on every PC that runs Windows 95, from the Pentium on. Their code is
# compiled for the Pentium, without exceptions or run-time type information, and linked with
# their own start-up and the few runtime parts they use (common/) instead of the prebuilt C++
# runtime and start-up code, which are built for the Pentium Pro and bring in threading
# support that needs later Windows. The C library is the system's msvcrt.dll.
function(vellora_pentium_code target)
    if(WIN32)
        target_compile_options(${target} PRIVATE -Os -fno-exceptions -fno-rtti
                                                 -fno-threadsafe-statics -fno-unwind-tables
                                                 -fno-asynchronous-unwind-tables)
        # With its checks on, the string type's members are compiled where they are used
        # instead of taken from the prebuilt library.
        target_compile_definitions(${target} PRIVATE _GLIBCXX_ASSERTIONS)
        if(CMAKE_SYSTEM_PROCESSOR STREQUAL i686)
            target_compile_options(${target} PRIVATE -march=i586 -mtune=generic)
        endif()
    endif()
endfunction()

# The C library and the compiler's helpers come last on the link line only for the libraries
# named here: a deliverable names every library it links, also those it reaches through another.
function(vellora_program target)
    vellora_pentium_code(${target})
    target_link_libraries(${target} PRIVATE program_runtime)
    target_link_options(${target} PRIVATE -nostdlib)
    target_link_libraries(${target} PRIVATE -Wl,--start-group msvcrt gcc -Wl,--end-group)
endfunction()
