# Runs the headless exports of the real program over pages written by the
# page encoder: each kind's success, and every refusal ending the run with
# one line on standard error, a failure status and no output file.
# Called with -DSTRUMBO=<program> -DWRITER=<write_export_pages> -DWORK=<dir>
# -DSCHEMA=<musicxml.xsd>.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${WRITER} ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not write the test pages")
endif()

set(failures "")

function(run out_rc out_err)
  execute_process(COMMAND ${STRUMBO} ${ARGN} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET TIMEOUT 120)
  set(${out_rc} "${rc}" PARENT_SCOPE)
  set(${out_err} "${err}" PARENT_SCOPE)
endfunction()

# A success writes a file that begins with its format's signature.
function(succeeds magic out)
  run(rc err ${ARGN} ${out})
  set(head "")
  if(EXISTS ${WORK}/${out})
    file(READ ${WORK}/${out} head LIMIT 4 HEX)
  endif()
  string(HEX "${magic}" expected)
  if(NOT rc EQUAL 0 OR NOT head STREQUAL expected)
    set(failures "${failures}\n  ${ARGN} ${out}: status ${rc}, begins '${head}': ${err}"
        PARENT_SCOPE)
  endif()
endfunction()

# A refusal: a failure status, exactly one line of ours saying `reason`,
# and nothing written.
function(refuses reason out)
  run(rc err ${ARGN} ${out})
  # Lines of ours start "strumbo: "; Qt may add warnings of its own.
  string(REGEX MATCHALL "(^|\n)strumbo: " lines "${err}")
  list(LENGTH lines count)
  if(rc EQUAL 0 OR NOT rc MATCHES "^[0-9]+$" OR NOT count EQUAL 1 OR NOT err MATCHES "${reason}"
     OR (out AND EXISTS ${WORK}/${out}))
    set(failures "${failures}\n  ${ARGN} ${out}: status ${rc}, ${count} lines, expected '${reason}': ${err}"
        PARENT_SCOPE)
  endif()
endfunction()

succeeds("MThd" song.mid --export-midi song.ppf)
succeeds("RIFF" song.wav --export-audio song.ppf)
foreach(page song.ppf chord.cpf print.prf scale.spf)
  succeeds("%PDF" ${page}.pdf --export-pdf ${page})
endforeach()

# The page's own tempo: 96 beats per minute is 625000 microseconds a beat.
file(READ ${WORK}/song.mid midi HEX)
if(NOT midi MATCHES "ff5103098968")
  string(APPEND failures "\n  the MIDI file lacks the page's tempo of 96")
endif()

# Smooth Fingerings writes a page and its companion that read back.
run(rc err --smooth-fingerings song.ppf smooth.ppf --around 7)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/smooth.rpt)
  string(APPEND failures "\n  --smooth-fingerings: status ${rc}: ${err}")
endif()
succeeds("MThd" smooth.mid --export-midi smooth.ppf)
refuses("damaged.ppf" damaged-smooth.ppf --smooth-fingerings damaged.ppf)
refuses("only a play page" chord-smooth.ppf --smooth-fingerings chord.cpf)
refuses("from 1 to 15" "" --smooth-fingerings song.ppf far.ppf --around 16)
refuses("usage" "" --smooth-fingerings song.ppf)

# Transposing writes a play page with its companion, a print page and a
# design group.
foreach(page song.ppf print.prf design.cds)
  run(rc err --transpose -3 ${page} up-${page})
  if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/up-${page})
    string(APPEND failures "\n  --transpose ${page}: status ${rc}: ${err}")
  endif()
endforeach()
if(NOT EXISTS ${WORK}/up-song.rpt)
  string(APPEND failures "\n  --transpose wrote no companion")
endif()
# A page without a companion gets a new page's marks, not an empty set.
file(COPY_FILE ${WORK}/song.ppf ${WORK}/lone.ppf)
run(rc err --transpose 2 lone.ppf lone-up.ppf)
set(marks "")
if(EXISTS ${WORK}/lone-up.rpt)
  file(READ ${WORK}/lone-up.rpt marks HEX)
endif()
if(NOT rc EQUAL 0 OR NOT marks MATCHES "[1-9a-f]")
  string(APPEND failures "\n  --transpose without a companion: status ${rc}, marks '${marks}'")
endif()
refuses("keep the extension" song-up.cds --transpose 3 song.ppf)
refuses("only a play page, a print page" chord-up.cpf --transpose 3 chord.cpf)
refuses("usage" "" --transpose 12 song.ppf far.ppf)

# ChordPro sheets of every page with chords: the play page's time, tempo and
# grid; a page without chords, a scale page and a damaged page write nothing.
foreach(page song.ppf chord.cpf print.prf design.cds)
  succeeds("{tit" ${page}.cho --export-chordpro ${page})
endforeach()
if(EXISTS ${WORK}/song.ppf.cho)
  file(READ ${WORK}/song.ppf.cho sheet)
  foreach(part "{title: song}\n{time: 3/4}\n{tempo: 96}\n" "{define: Cm7 " "{start_of_grid: ")
    string(FIND "${sheet}" "${part}" at)
    if(at EQUAL -1)
      string(APPEND failures "\n  the play page's sheet lacks '${part}':\n${sheet}")
    endif()
  endforeach()
endif()
refuses("has chords for ChordPro" scale.cho --export-chordpro scale.spf)
refuses("holds no chord" empty.cho --export-chordpro empty.cpf)
refuses("damaged.ppf" damaged.cho --export-chordpro damaged.ppf)
refuses("usage" "" --export-chordpro song.ppf)

refuses("No such file" none.mid --export-midi missing.ppf)
refuses("This is not a Play Page file" wrong.mid --export-midi wrongkind.ppf)
refuses("damaged.ppf" damaged.wav --export-audio damaged.ppf)
refuses("damaged.ppf" damaged.pdf --export-pdf damaged.ppf)
refuses("only a play page" chord.mid --export-midi chord.cpf)
refuses("not a printable page" design.pdf --export-pdf design.cds)
refuses("nothing to print" empty.pdf --export-pdf empty.cpf)
refuses("page is empty" emptysong.mid --export-midi emptysong.ppf)
refuses("page is empty" emptysong.wav --export-audio emptysong.ppf)
refuses("usage" "" --export-midi song.ppf)
refuses("usage" extra.pdf --export-pdf song.ppf extra.mid)
refuses("usage" late.pdf song.ppf --export-pdf chord.cpf)

# Exporting onto the page itself would destroy it.
file(READ ${WORK}/song.ppf before HEX)
run(rc err --export-pdf song.ppf song.ppf)
file(READ ${WORK}/song.ppf after HEX)
if(rc EQUAL 0 OR NOT before STREQUAL after)
  string(APPEND failures "\n  an export over its own page was not refused")
endif()

# A chord in the last slot ends: a stock MIDI player renders the file and stops.
succeeds("MThd" last.mid --export-midi last.ppf)
set(font /usr/share/sounds/sf2/TimGM6mb.sf2)
find_program(FLUIDSYNTH fluidsynth)
if(FLUIDSYNTH AND EXISTS ${font} AND EXISTS ${WORK}/last.mid)
  execute_process(COMMAND ${FLUIDSYNTH} -ni -q -F ${WORK}/last-fs.wav ${font} ${WORK}/last.mid
                  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET
                  TIMEOUT 60)
  # Nine bars at 100 beats per minute and a release: about 25 s, 4.4 MB.
  file(SIZE ${WORK}/last-fs.wav size)
  if(NOT rc EQUAL 0 OR size GREATER 8000000)
    string(APPEND failures "\n  fluidsynth rendering last.mid: status ${rc}, ${size} bytes")
  endif()
endif()

# A $STRUMBO_SOUNDFONT that is no soundfont: the installed one sounds, and
# one line names the file that could not be used.
set(installed "")
foreach(candidate /usr/share/sounds/sf2/FluidR3_GM.sf2 /usr/share/sounds/sf3/FluidR3_GM.sf3
                  /usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf2/default-GM.sf2)
  if(NOT installed AND EXISTS ${candidate})
    set(installed ${candidate})
  endif()
endforeach()
if(installed)
  file(WRITE ${WORK}/notes.sf2 "my notes, not a soundfont\n")
  set(ENV{STRUMBO_SOUNDFONT} ${WORK}/notes.sf2)
  run(rc err --export-audio song.ppf notes.wav)
  unset(ENV{STRUMBO_SOUNDFONT})
  string(REGEX MATCHALL "(^|\n)strumbo: " lines "${err}")
  list(LENGTH lines count)
  set(head "")
  if(EXISTS ${WORK}/notes.wav)
    file(READ ${WORK}/notes.wav head LIMIT 4 HEX)
  endif()
  if(NOT rc EQUAL 0 OR NOT head STREQUAL "52494646" OR NOT count EQUAL 1
     OR NOT err MATCHES "notes.sf2 could not be used")
    string(APPEND failures "\n  a damaged STRUMBO_SOUNDFONT: status ${rc}, ${count} lines: ${err}")
  endif()
endif()

# The MusicXML scores, with repeats and with the loop, hold to the schema.
find_program(XMLLINT xmllint)
if(NOT XMLLINT)
  string(APPEND failures "\n  xmllint is not installed (libxml2-utils)")
endif()
foreach(page score loop)
  succeeds("<?xm" ${page}.musicxml --export-musicxml ${page}.ppf)
  if(XMLLINT AND EXISTS ${WORK}/${page}.musicxml)
    execute_process(COMMAND ${XMLLINT} --noout --nonet --schema ${SCHEMA} ${page}.musicxml
                    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err TIMEOUT 60)
    if(NOT rc EQUAL 0)
      string(APPEND failures "\n  ${page}.musicxml does not validate: ${err}")
    endif()
  endif()
endforeach()
file(READ ${WORK}/score.musicxml score)
if(NOT score MATCHES "times=\"3\"" OR NOT score MATCHES "<barre type=\"start\"/>"
   OR NOT score MATCHES "<bass-step>G</bass-step>")
  string(APPEND failures "\n  score.musicxml lacks the page's repeat, barre or slash chord")
endif()
refuses("only a play page" chord.musicxml --export-musicxml chord.cpf)
refuses("page is empty" emptysong.musicxml --export-musicxml emptysong.ppf)
refuses("damaged.ppf" damaged.musicxml --export-musicxml damaged.ppf)
refuses("usage" "" --export-musicxml score.ppf)

if(failures)
  message(FATAL_ERROR "export runs failed:${failures}")
endif()
file(REMOVE_RECURSE ${WORK})
