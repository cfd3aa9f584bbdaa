# Settings under which a build's outputs depend on the sources and the
# tools only, not on where the source and build folders are. The release
# script includes it right after project() (CMAKE_PROJECT_INCLUDE), so that
# it applies to every target, Qt's generated moc and rcc objects included:
#
#   cmake ... -DCMAKE_PROJECT_INCLUDE=<source>/cmake/EmberlineReproducible.cmake
#
# The folders' paths would otherwise reach the debugging information (and
# through it the ELF build id, which survives stripping) and any __FILE__.
# The build folder's map comes last, since the build folder may lie inside
# the source folder: GCC uses the last map that matches, Clang the longest.
# Dates are the other half: the release script exports SOURCE_DATE_EPOCH,
# which rcc writes into the resources instead of the files' dates, and
# cmake/mingw-w64-x86_64.cmake keeps the linker's date out of Pyrel.exe.
add_compile_options(
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=build/
)
