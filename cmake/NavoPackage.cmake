# The Debian package of the native tools (cpack -G DEB in the build folder):
# navo-tools_VERSION_ARCH.deb with navomb, nvcodefind, their manual pages and
# the sample table when it has been built.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME navo-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Navo developers <navo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Navo code table tools: navomb and nvcodefind")
set(CPACK_PACKAGE_DESCRIPTION
    "navomb builds, checks, dumps and exports Navo code tables (to Rime and fcitx5);\nnvcodefind looks characters' codes up in one, as the input method's lookup window does.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "librime-bin, libime-bin")
include(CPack)
