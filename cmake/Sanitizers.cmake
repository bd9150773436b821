# AddressSanitizer and UndefinedBehaviorSanitizer for the whole build (CI runs the tests once so).
if(KESTROVA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
