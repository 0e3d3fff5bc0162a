# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack` in the build folder (scripts/package.sh) writes
# tovanel_<version>_amd64.deb from the install rules, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovanel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Tovanel maintainers <maintainers@tovanel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "street-block corner curves, stake points and calculation sheets")
set(CPACK_PACKAGE_DESCRIPTION [=[
Tovanel computes the circular curves that round off street-block corners:
the curve of the street's centre line and the parallel curves at its inner
and outer width, together with every point by which they are staked out.
It runs a trial calculation of the curve elements and the division count,
composes, previews and prints the calculation sheets (or saves them as
PDF), and hands the computed points back to the survey CAD system through
the clipboard. Its windows and sheets are in Japanese.

The command-line tool tovanel-cli runs the same calculation and writes the
same sheets without windows.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TOVANEL_HOMEPAGE})
# The libraries come from the binaries; the sheets' columns line up only in the IPA fonts, which
# no binary links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-mincho, fonts-ipafont-gothic")
# The platform's own dialogs (printing, page set-up) in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
# Directories as Debian has them, whatever the umask of the one who packs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
