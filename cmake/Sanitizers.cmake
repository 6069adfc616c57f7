# VARNOK_SANITIZE=address,undefined instruments every target, tests included.
if(VARNOK_SANITIZE)
    add_compile_options(-fsanitize=${VARNOK_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${VARNOK_SANITIZE})
endif()
if(VARNOK_BUILD_FUZZERS)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
