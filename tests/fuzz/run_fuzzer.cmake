# Runs one fuzz target for a short, bounded time on a fresh copy of its seed
# corpus, so that the inputs it finds never land in the source tree. A crash
# leaves its input in the work folder, named in the failure message.
#
# cmake -DFUZZER=... -DCORPUS=... -DWORK=... -DMAX_LEN=... [-DDICTIONARY=...]
#       -P run_fuzzer.cmake
foreach(variable FUZZER CORPUS WORK MAX_LEN)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "run_fuzzer.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(COPY ${CORPUS}/ DESTINATION ${WORK}/corpus)

set(options -seed=1 -max_total_time=8 -runs=2000000 -max_len=${MAX_LEN} -timeout=10
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=${WORK}/artifacts/)
if(DEFINED DICTIONARY)
  list(APPEND options -dict=${DICTIONARY})
endif()

execute_process(COMMAND ${FUZZER} ${options} ${WORK}/corpus RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(GLOB artifacts ${WORK}/artifacts/*)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input: ${artifacts}\n"
                      "Run it again with: ${FUZZER} ${artifacts}")
endif()
