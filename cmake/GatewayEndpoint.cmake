# The gateway endpoint compiled into the client, and the libraries of the gateway layer.
# The defaults name the demo simulator and its test keys; a production build sets its own.
set(VALO_GATEWAY_BASE_URL "https://127.0.0.1:8443/VEZIR/api/"
    CACHE STRING "Base URL of the gateway actions (ends in /VEZIR/api/)")
set(VALO_GATEWAY_PUBLIC_KEY_FILE "${PROJECT_SOURCE_DIR}/tools/gateway-sim/demo/gateway-public.pem"
    CACHE FILEPATH "PEM public key of the gateway envelope")
set(VALO_GATEWAY_CA_FILE "${PROJECT_SOURCE_DIR}/tools/gateway-sim/demo/ca.pem"
    CACHE FILEPATH "PEM CA certificate(s) trusted besides the system store; empty for none")
set(VALO_GATEWAY_ECHO_URL_1 "http://127.0.0.1:8080/echo/1"
    CACHE STRING "First public-address echo service")
set(VALO_GATEWAY_ECHO_URL_2 "http://127.0.0.1:8080/echo/2"
    CACHE STRING "Second public-address echo service")
set(VALO_GATEWAY_CODE_PAGE "CP950" CACHE STRING "Code page of the gateway's texts (iconv name)")

file(READ "${VALO_GATEWAY_PUBLIC_KEY_FILE}" VALO_GATEWAY_PUBLIC_KEY_PEM)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${VALO_GATEWAY_PUBLIC_KEY_FILE}")
set(VALO_GATEWAY_CA_PEM "")
if(VALO_GATEWAY_CA_FILE)
  file(READ "${VALO_GATEWAY_CA_FILE}" VALO_GATEWAY_CA_PEM)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${VALO_GATEWAY_CA_FILE}")
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/built_in_endpoint.h.in
               ${PROJECT_BINARY_DIR}/generated/gateway/built_in_endpoint.h @ONLY)
target_include_directories(gateway PRIVATE ${PROJECT_BINARY_DIR}/generated)

pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(TINYXML2 REQUIRED IMPORTED_TARGET tinyxml2)
target_link_libraries(gateway PUBLIC PkgConfig::CURL PkgConfig::TINYXML2 OpenSSL::SSL
                      OpenSSL::Crypto)
