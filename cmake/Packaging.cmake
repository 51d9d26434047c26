# The Debian package: `cpack -G DEB` in a release build configured with
# -DCMAKE_INSTALL_PREFIX=/usr. It holds what `cmake --install` puts in place
# (the program with its data in lib/strumbo, the link in bin/, the desktop
# files) plus the files Debian asks of every package: the copyright notice,
# a compressed changelog and the manual page.

set(STRUMBO_PACKAGE_BUILD ${CMAKE_BINARY_DIR}/packaging)
set(STRUMBO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/strumbo)

# Compressed without a name or time stamp, so that two builds give the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
function(strumbo_gzip source output)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${STRUMBO_PACKAGE_BUILD}
    COMMAND ${GZIP_PROGRAM} -9nc ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
endfunction()
strumbo_gzip(${PROJECT_SOURCE_DIR}/packaging/strumbo.1 ${STRUMBO_PACKAGE_BUILD}/strumbo.1.gz)
strumbo_gzip(${PROJECT_SOURCE_DIR}/packaging/changelog
             ${STRUMBO_PACKAGE_BUILD}/changelog.Debian.gz)
add_custom_target(strumbo_package_docs ALL
                  DEPENDS ${STRUMBO_PACKAGE_BUILD}/strumbo.1.gz
                          ${STRUMBO_PACKAGE_BUILD}/changelog.Debian.gz)

install(FILES ${STRUMBO_PACKAGE_BUILD}/strumbo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${STRUMBO_PACKAGE_BUILD}/changelog.Debian.gz
        DESTINATION ${STRUMBO_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME strumbo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The first packaging of each version; packaging/changelog names the same.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_VENDOR "Strumbo! developers")
set(CPACK_PACKAGE_CONTACT "Strumbo! developers <maintainers@strumbo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "guitar chord workbench")
# Prepended by CPack with the summary as the synopsis line; it indents the
# lines and marks the empty one between paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Strumbo! looks chords up (12 keys and 62 chord types, six fingerings each),
shows and edits any fingering on a big fretboard, names a fingering from its
notes, designs voicings and shows 47 scales in any key.

A play page holds a chord progression of up to 72 chords, strummed through
the built-in General MIDI synthesiser or any MIDI port, with bass, click,
count-off, repeats and loops. Every page prints, saves to its own file and
exports to MIDI, WAV, MusicXML, ChordPro or PDF.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://strumbo.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The built-in synthesiser plays with the first General MIDI soundfont it
# finds (src/midi/SoundFont.cpp); without one it stays silent.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fluid-soundfont-gm | timgm6mb-soundfont")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
