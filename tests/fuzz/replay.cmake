# Replays every fuzz target's seed corpus and stored failures with the
# normal compiler: no libFuzzer needed, and the sanitizer build checks them too.
include(${CMAKE_SOURCE_DIR}/tests/fuzz/targets.cmake)
foreach(target ${ZENTROVA_FUZZ_TARGETS})
  zentrova_fuzz_sources(${target} sources)
  add_executable(fuzz_replay_${target} ${sources} ${ZENTROVA_FUZZ_DIR}/replay.cpp ${SANITIZER_OPTIONS})
  target_link_libraries(fuzz_replay_${target} PRIVATE zentrova_app)
  target_compile_definitions(fuzz_replay_${target} PRIVATE ZENTROVA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  set(inputs ${ZENTROVA_FUZZ_DIR}/corpus/${target})
  if(EXISTS ${ZENTROVA_FUZZ_DIR}/regressions/${target})
    list(APPEND inputs ${ZENTROVA_FUZZ_DIR}/regressions/${target})
  endif()
  add_test(NAME fuzz_regressions_${target} COMMAND fuzz_replay_${target} ${inputs})
  set_tests_properties(fuzz_regressions_${target} PROPERTIES
                       ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy" TIMEOUT 120)
endforeach()
