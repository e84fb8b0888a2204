# The deliverables run on every PC that runs Windows 95, from the Pentium on. Their code is
# compiled for the Pentium, without exceptions or run-time type information, and linked with
# their own start-up, the few runtime parts and C library functions they use (common/) instead
# of the prebuilt C++ runtime and start-up code, which are built for the Pentium Pro and bring
# in threading support that needs later Windows, and instead of msvcrt.dll, which Windows 95
# as installed from its CD does not have.
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

# The compiler's helpers come last on the link line only for the libraries named here: a
# deliverable names every library it links, also those it reaches through another. Its version
# resource is that of the top CMakeLists.txt.
function(vellora_program target)
    vellora_pentium_code(${target})
    target_link_libraries(${target} PRIVATE program_runtime vellora_version)
    target_link_options(${target} PRIVATE -nostdlib)
    target_link_libraries(${target} PRIVATE gcc)
endfunction()
