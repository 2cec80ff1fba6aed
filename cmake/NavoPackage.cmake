# The Debian package of the native tools (cpack -G DEB in the build folder):
# navo-tools_VERSION_ARCH.deb with navomb, nvcodefind, their manual pages, the
# package's changelog and copyright, and the sample table when it has been
# built. lintian finds no error in it (tests/tools/install_test.sh).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME navo-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# An address under .invalid, which no mail reaches, until the project has one.
set(CPACK_PACKAGE_CONTACT "Navo maintainers <maintainers@navo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Navo code table tools: navomb and nvcodefind")
# Lines of at most 80 characters, as Debian's description field wants them.
set(CPACK_PACKAGE_DESCRIPTION
    "navomb builds, checks, dumps and exports Navo code tables (to Rime and\nfcitx5); nvcodefind looks characters' codes up in one, as the input\nmethod's lookup window does.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "librime-bin, libime-bin")

# The manual pages and the package's changelog, installed compressed as
# Debian has them: gzip -9n keeps no name or time in the file, so that the
# package is the same whenever it is built. The version has no Debian
# revision, which makes this a native package, whose changelog is changelog.gz.
include(GNUInstallDirs)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/gzipped)
function(navo_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(gzipped ${PROJECT_BINARY_DIR}/gzipped/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/docs/${source} ${gzipped}
    DEPENDS ${PROJECT_SOURCE_DIR}/docs/${source} VERBATIM)
  add_custom_target(gzipped_${name} ALL DEPENDS ${gzipped})
  install(FILES ${gzipped} DESTINATION ${destination})
endfunction()
set(navo_package_doc ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
navo_install_gzipped(man/navomb.1 ${CMAKE_INSTALL_MANDIR}/man1)
navo_install_gzipped(man/nvcodefind.1 ${CMAKE_INSTALL_MANDIR}/man1)
navo_install_gzipped(debian/changelog ${navo_package_doc})
install(FILES ${PROJECT_SOURCE_DIR}/docs/debian/copyright DESTINATION ${navo_package_doc})
include(CPack)
