# Runs a libFuzzer target over a fixed number of inputs from a fresh scratch corpus.
# Variables: FUZZER, WORK (scratch folder), RUNS (inputs), SEED (libFuzzer's),
# SECONDS (a ceiling), and the seed inputs: SEEDER
# (writes generated seeds into a folder) and BMPSUITE (its g, q and b folders),
# or SEED_DIR (a folder of seed files).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/seeds" "${WORK}/corpus" "${WORK}/artifacts")

if(SEEDER)
  execute_process(COMMAND "${SEEDER}" "${WORK}/seeds" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "seed generator failed: ${result}")
  endif()
endif()

file(GLOB generated "${WORK}/seeds/*")
list(LENGTH generated copied)
if(BMPSUITE)
  foreach(group g q b)
    file(GLOB seeds "${BMPSUITE}/${group}/*.bmp")
    foreach(seed IN LISTS seeds)
      get_filename_component(name "${seed}" NAME)
      file(COPY_FILE "${seed}" "${WORK}/seeds/${group}-${name}")
      math(EXPR copied "${copied} + 1")
    endforeach()
  endforeach()
endif()
if(SEED_DIR)
  file(GLOB seeds "${SEED_DIR}/*")
  foreach(seed IN LISTS seeds)
    get_filename_component(name "${seed}" NAME)
    file(COPY_FILE "${seed}" "${WORK}/seeds/${name}")
    math(EXPR copied "${copied} + 1")
  endforeach()
endif()
if(copied EQUAL 0)
  message(FATAL_ERROR "no seed files found in ${BMPSUITE}${SEED_DIR}")
endif()
message(STATUS "${copied} corpus seeds copied")

# The bitmap decoder never needs more than 192 MiB for a picture; a larger
# single allocation is a finding.
execute_process(
  COMMAND "${FUZZER}" "${WORK}/corpus" "${WORK}/seeds"
          -runs=${RUNS} -seed=${SEED} -max_total_time=${SECONDS} -malloc_limit_mb=256 -timeout=30
          -artifact_prefix=${WORK}/artifacts/ -print_final_stats=1
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "fuzzer found a problem (exit ${result}); inputs are in ${WORK}/artifacts")
endif()
