# Where `cmake --install` and the Debian package put things. Read before the
# host tool is configured: ipifhost finds its files relative to its own
# executable, so it runs from the installed layout as from the build tree.
include(GNUInstallDirs)

# Empty means <libdir>/sfcb, which follows the prefix (lib/x86_64-linux-gnu
# under /usr on Debian, where sfcb looks for providers).
set(IPIF_PROVIDER_DIR "" CACHE PATH
    "Folder of the provider libraries (the CIM server's provider folder); relative to the prefix or absolute")
if(NOT IPIF_PROVIDER_DIR)
  set(IPIF_PROVIDER_DIR "${CMAKE_INSTALL_LIBDIR}/sfcb")
endif()
set(IPIF_DATA_DIR "${CMAKE_INSTALL_DATADIR}/ipinterfaceprofileprovider")
# The platform stand-ins the providers link against; a real agent brings its own.
set(IPIF_PRIVATE_LIBDIR "${CMAKE_INSTALL_LIBDIR}/ipinterfaceprofileprovider")

function(ipif_full_path out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

# Relative paths from the installed ipifhost to its data and providers,
# compiled in so a package relocated to another prefix keeps working.
ipif_full_path(_ipif_bin "${CMAKE_INSTALL_BINDIR}")
ipif_full_path(_ipif_data "${IPIF_DATA_DIR}")
ipif_full_path(_ipif_providers "${IPIF_PROVIDER_DIR}")
ipif_full_path(_ipif_private "${IPIF_PRIVATE_LIBDIR}")
file(RELATIVE_PATH IPIF_BIN_TO_DATA "${_ipif_bin}" "${_ipif_data}")
if(IS_ABSOLUTE "${IPIF_PROVIDER_DIR}")
  set(IPIF_BIN_TO_PROVIDERS "${IPIF_PROVIDER_DIR}")
  set(IPIF_PROVIDER_RPATH "${_ipif_private}")
else()
  file(RELATIVE_PATH IPIF_BIN_TO_PROVIDERS "${_ipif_bin}" "${_ipif_providers}")
  file(RELATIVE_PATH _ipif_rel "${_ipif_providers}" "${_ipif_private}")
  set(IPIF_PROVIDER_RPATH "$ORIGIN/${_ipif_rel}")
endif()
