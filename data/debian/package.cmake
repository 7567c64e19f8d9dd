# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a build folder gives tinglan_VERSION_ARCH.deb.
set(CPACK_PACKAGE_NAME tinglan)
set(CPACK_PACKAGE_VENDOR "The tinglan developers")
set(CPACK_PACKAGE_CONTACT "The tinglan developers <packages@tinglan.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show the Wubi 86 code and the pinyin of a Chinese character")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# xz, as Debian builds its own packages: the tables library is most of the package.
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "A small desktop tool for people who type Chinese with Wubi (86 edition) or
Hanyu Pinyin. Type a hanzi into its one window and press Enter: it shows the
character's Wubi code and its toneless pinyin, and records the query in a
history file. The command-line tool tinglan-query answers the same queries in
a terminal. The code tables are compiled into a library that both programs
share; no dictionary file is read.")
# Library dependencies come from dpkg-shlibdeps; the window's Chinese text needs a CJK font,
# and typing into it an input method that Qt 6 programs can use.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk | fonts-arphic-uming")
# dpkg-shlibdeps looks at the symbols a program imports, not at the version glibc needs for
# packed relocations.
if(TINGLAN_HAVE_PACK_RELATIVE_RELOCS)
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libc6 (>= 2.36)")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fcitx5-frontend-qt6 | ibus")
include(CPack)
