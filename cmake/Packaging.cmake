# The Debian package: scripts/package runs cpack on a Release build. Library
# dependencies come from dpkg-shlibdeps; Qt's platform, image and SVG plug-ins,
# which nothing links, are named. The MIME and desktop databases are brought
# up to date by the triggers of shared-mime-info and desktop-file-utils, which
# watch the folders the package fills.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velo)
set(CPACK_PACKAGE_VENDOR "Velo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VELO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recolour images with colour adjustments")
set(CPACK_PACKAGE_DESCRIPTION
    "Velo recolours raster images. Each adjustment maps a source colour to a target
colour in RGB, HSB or OKLab; every pixel moves under all adjustments at once,
by shares that grow as its colour nears each source colour. The window
recolours live on every core; documents keep the image and the adjustments
with undo and crash recovery; results export as TIFF, JPEG, BMP, GIF or PNG
with their metadata. The velo command recolours files in batch and exports
3D lookup tables.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, libqt6svg6")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
