# Checks the files `cmake --install` hands to the desktop: the entry, the MIME
# types, the icon and the AppStream metadata. desktop-file-validate and
# appstreamcli must be installed (the install script brings them): a check
# that passes because its tool is missing checks nothing. The other validators run when present; without them the checks
# below still catch a broken or mismatched file.
# Called with -DSOURCE=<desktop folder> -DWORK=<scratch folder>,
# -DWRITER=<write_export_pages>, whose pages the signature matches must know,
# -DVERSION=<the project's version>, -DCHANGELOG=<the package's changelog>,
# -DMANPAGE=<the manual page> and -DREADME=<the README naming the options>.
cmake_minimum_required(VERSION 3.25)

function(fail message)
  message(FATAL_ERROR "${message}")
endfunction()

set(app_id org.strumbo.Strumbo)
set(entry ${SOURCE}/${app_id}.desktop)
set(mime ${SOURCE}/strumbo.xml)
set(icon ${SOURCE}/strumbo.svg)
set(metainfo ${SOURCE}/${app_id}.metainfo.xml)

find_program(XMLLINT xmllint)
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(UPDATE_MIME_DATABASE update-mime-database)
find_program(APPSTREAMCLI appstreamcli)

if(XMLLINT)
  execute_process(COMMAND ${XMLLINT} --noout ${mime} ${icon} ${metainfo}
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    fail("not well-formed XML: ${err}")
  endif()
endif()
if(NOT DESKTOP_FILE_VALIDATE)
  fail("desktop-file-validate is not installed (Debian package desktop-file-utils)")
endif()
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${entry}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
# It exits 0 after mere hints; anything it calls an error or a warning fails.
if(NOT rc EQUAL 0 OR out MATCHES "error:|warning:" OR err MATCHES "error:|warning:")
  fail("desktop-file-validate: ${out}${err}")
endif()

# The entry: one group, the keys a launcher needs, files handed over as a list.
file(STRINGS ${entry} lines)
list(GET lines 0 first)
if(NOT first STREQUAL "[Desktop Entry]")
  fail("the entry must begin with [Desktop Entry], not '${first}'")
endif()
foreach(key Type=Application Name= Exec=strumbo\ %F Icon=strumbo MimeType=)
  set(found FALSE)
  foreach(line IN LISTS lines)
    string(FIND "${line}" "${key}" at)
    if(at EQUAL 0)
      set(found TRUE)
    endif()
    if(line MATCHES "^MimeType=(.*)$")
      set(entry_types "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT found)
    fail("the entry lacks a line beginning '${key}'")
  endif()
endforeach()
if(NOT entry_types MATCHES ";$")
  fail("MimeType must end with ';'")
endif()
string(REGEX REPLACE ";$" "" entry_types "${entry_types}")
list(SORT entry_types)

# The MIME types: exactly the ones the entry claims.
file(READ ${mime} xml)
string(REGEX MATCHALL "<mime-type type=\"[^\"]+\"" declared "${xml}")
list(TRANSFORM declared REPLACE "<mime-type type=\"([^\"]+)\"" "\\1")
list(SORT declared)
if(NOT entry_types STREQUAL declared)
  fail("entry types '${entry_types}' differ from the declared '${declared}'")
endif()

# The software centre's entry: valid, and about this program, its launcher,
# its icon and exactly the page files the entry opens.
if(NOT APPSTREAMCLI)
  fail("appstreamcli is not installed (Debian package appstream)")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net --no-color ${metainfo}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR out MATCHES "\nE: |\nW: |^E: |^W: ")
  fail("appstreamcli validate: ${out}${err}")
endif()
file(READ ${metainfo} meta)
foreach(pair "<id>${app_id}</id>" "<launchable type=\"desktop-id\">${app_id}.desktop</launchable>"
             "<binary>strumbo</binary>" "<icon type=\"stock\">strumbo</icon>"
             "<metadata_license>CC0-1.0</metadata_license>")
  string(FIND "${meta}" "${pair}" at)
  if(at EQUAL -1)
    fail("the metainfo lacks ${pair}")
  endif()
endforeach()
string(REGEX MATCHALL "<mediatype>[^<]+</mediatype>" provided "${meta}")
list(TRANSFORM provided REPLACE "</?mediatype>" "")
list(SORT provided)
if(NOT provided STREQUAL declared)
  fail("the metainfo provides '${provided}', the MIME file declares '${declared}'")
endif()

# A new version must be announced where users and Debian read it: the newest
# release of the metainfo and the top entry of the package's changelog (whose
# dates must also agree, being the same release).
string(REGEX MATCH "<release version=\"([^\"]+)\" date=\"([0-9-]+)\"" newest "${meta}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  fail("the metainfo's newest release is '${CMAKE_MATCH_1}', the project is ${VERSION}")
endif()
set(release_date ${CMAKE_MATCH_2})
file(STRINGS ${CHANGELOG} log)
list(GET log 0 top)
if(NOT top MATCHES "^strumbo \\(${VERSION}-[0-9]+\\) [a-z]+; urgency=[a-z]+$")
  fail("the changelog's top entry '${top}' is not strumbo (${VERSION}-N)")
endif()
foreach(line IN LISTS log)
  if(line MATCHES "^ -- .+ <.+>  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} m)
    math(EXPR m "${m} + 1" OUTPUT_FORMAT DECIMAL)
    if(m LESS 10)
      set(m 0${m})
    endif()
    set(signed "${CMAKE_MATCH_3}-${m}-${CMAKE_MATCH_1}")
    break()
  endif()
endforeach()
if(NOT signed STREQUAL release_date)
  fail("the changelog's top entry is dated '${signed}', the metainfo's release ${release_date}")
endif()

# Every command line option the README shows is in the manual page, with
# its hyphens escaped as roff needs them.
file(READ ${README} readme)
string(REGEX MATCHALL "strumbo --[a-z-]+" options "${readme}")
list(REMOVE_DUPLICATES options)
if(NOT options)
  fail("the README shows no command line options")
endif()
file(READ ${MANPAGE} man)
foreach(option IN LISTS options)
  string(REPLACE "strumbo " "" option "${option}")
  string(REPLACE "-" "\\-" escaped "${option}")
  string(FIND "${man}" "${escaped}" at)
  if(at EQUAL -1)
    fail("the manual page does not describe ${option}")
  endif()
endforeach()

# Each signature match must hit the page the encoder writes, at its offset.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${WRITER} ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not write the test pages")
endif()
foreach(page chord.cpf print.prf design.cds song.ppf scale.spf)
  get_filename_component(ext ${page} LAST_EXT)
  string(REGEX MATCH "<magic priority=\"[0-9]+\">[ \n]*<match type=\"string\" offset=\"([0-9]+)\" value=\"([A-Za-z]+)\"/>[ \n]*</magic>[ \n]*<glob pattern=\"\\*\\${ext}\"/>"
         found "${xml}")
  if(NOT found)
    fail("no signature match beside the glob *${ext}")
  endif()
  set(offset ${CMAKE_MATCH_1})
  set(value ${CMAKE_MATCH_2})
  string(LENGTH "${value}" length)
  file(READ ${WORK}/${page} bytes OFFSET ${offset} LIMIT ${length} HEX)
  string(HEX "${value}" expected)
  if(NOT bytes STREQUAL expected)
    fail("*${ext}: '${value}' at offset ${offset}, but the page holds '${bytes}' there")
  endif()
endforeach()

# The MIME database compiler refuses what it cannot use; let it read ours.
if(UPDATE_MIME_DATABASE)
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK}/mime/packages)
  file(COPY ${mime} DESTINATION ${WORK}/mime/packages)
  execute_process(COMMAND ${UPDATE_MIME_DATABASE} ${WORK}/mime
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR err MATCHES "[Ee]rror|[Ii]nvalid")
    fail("update-mime-database: ${out}${err}")
  endif()
  file(READ ${WORK}/mime/globs2 globs)
  foreach(ext cpf prf cds ppf spf)
    if(NOT globs MATCHES "application/x-strumbo-[a-z-]+:\\*\\.${ext}")
      fail("the compiled database does not know *.${ext}")
    endif()
  endforeach()
endif()
