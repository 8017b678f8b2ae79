# The archive holds the program's folder; the .deb puts it at /opt/kestrano.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX "/opt/kestrano")
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX "/")
endif()
