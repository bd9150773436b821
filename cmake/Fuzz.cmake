# libFuzzer instrumentation for the whole build (clang only); the fuzz targets link the fuzzer's
# main. AddressSanitizer and UndefinedBehaviorSanitizer come with it.
if(KESTROVA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KESTROVA_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
