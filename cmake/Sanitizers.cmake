# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build (CI runs the tests once so).
if(KESTROVA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# ThreadSanitizer, for the threaded tests only (CI builds just those targets with it).
option(KESTROVA_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(KESTROVA_SANITIZE_THREAD)
    if(KESTROVA_SANITIZE)
        message(FATAL_ERROR "ThreadSanitizer and AddressSanitizer cannot share a build")
    endif()
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()
