# The fake verification service of the tests (FakeVerificationService.h) as the
# library kestrano_fake_service, and kestrano_link_fake_service(<test program>).
#
# Debian ships cpp-httplib as a compiled library: its header must be read with
# the same switches (OpenSSL, zlib, Brotli) the library was built with, which
# its pkg-config file gives. Elsewhere (vcpkg) its CMake package does.
if(NOT TARGET kestrano_fake_service)
  find_package(httplib CONFIG QUIET)
  if(TARGET httplib::httplib)
    set(KESTRANO_HTTPLIB httplib::httplib)
  else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(CPPHTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
    set(KESTRANO_HTTPLIB PkgConfig::CPPHTTPLIB)
  endif()
  find_package(Threads REQUIRED)
  find_package(ZLIB REQUIRED)

  add_library(kestrano_fake_service STATIC
    ${CMAKE_CURRENT_LIST_DIR}/FakeVerificationService.h
    ${CMAKE_CURRENT_LIST_DIR}/FakeVerificationService.cpp
  )
  target_include_directories(kestrano_fake_service PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_compile_definitions(kestrano_fake_service PRIVATE
    KESTRANO_FAKE_SERVICE_PEM="${CMAKE_CURRENT_LIST_DIR}/FakeVerificationService.pem")
  target_link_libraries(kestrano_fake_service PUBLIC project_options Qt6::Gui)
  target_link_libraries(kestrano_fake_service PRIVATE ${KESTRANO_HTTPLIB} Threads::Threads ZLIB::ZLIB)
endif()

function(kestrano_link_fake_service test_program)
  if(TARGET ${test_program})
    target_link_libraries(${test_program} PRIVATE kestrano_fake_service)
  endif()
endfunction()
