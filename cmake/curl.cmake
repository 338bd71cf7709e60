# libcurl for the publishing layer, as the target CURL::libcurl on every system.
# Linux: the system's libcurl (Debian's libcurl4-openssl-dev: OpenSSL for TLS, libssh2 for SFTP).
# Windows: the static libcurl (Schannel, libssh2 over mbedTLS) that scripts/windows-deps.sh
# builds into the build folder's deps/prefix, so that the programs need only system DLLs.
if(WIN32)
    set(PAIRWEB_WINDOWS_DEPS "${CMAKE_BINARY_DIR}/deps/prefix" CACHE PATH
        "Prefix of the static libraries built by scripts/windows-deps.sh")
    foreach(file include/curl/curl.h lib/libcurl.a lib/libssh2.a lib/libmbedcrypto.a)
        if(NOT EXISTS "${PAIRWEB_WINDOWS_DEPS}/${file}")
            message(FATAL_ERROR "${PAIRWEB_WINDOWS_DEPS}/${file} is missing: run "
                                "scripts/windows-deps.sh for this build folder first")
        endif()
    endforeach()

    add_library(pairweb_mbedcrypto STATIC IMPORTED)
    set_target_properties(pairweb_mbedcrypto PROPERTIES
        IMPORTED_LOCATION "${PAIRWEB_WINDOWS_DEPS}/lib/libmbedcrypto.a"
        INTERFACE_LINK_LIBRARIES "bcrypt;advapi32")
    add_library(pairweb_libssh2 STATIC IMPORTED)
    set_target_properties(pairweb_libssh2 PROPERTIES
        IMPORTED_LOCATION "${PAIRWEB_WINDOWS_DEPS}/lib/libssh2.a"
        INTERFACE_LINK_LIBRARIES "pairweb_mbedcrypto;ws2_32")
    add_library(CURL::libcurl STATIC IMPORTED)
    set_target_properties(CURL::libcurl PROPERTIES
        IMPORTED_LOCATION "${PAIRWEB_WINDOWS_DEPS}/lib/libcurl.a"
        INTERFACE_INCLUDE_DIRECTORIES "${PAIRWEB_WINDOWS_DEPS}/include"
        INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
        INTERFACE_LINK_LIBRARIES "pairweb_libssh2;ws2_32;crypt32;secur32;bcrypt;advapi32;winmm")
else()
    find_package(CURL REQUIRED)
endif()
