# The clang build under AddressSanitizer and UndefinedBehaviorSanitizer
# (build/sanitize): the unit tests, and the libFuzzer targets of every reader
# of outside input. Every object carries libFuzzer's coverage counters, so the
# fuzz targets and the unit tests share one set of libraries. Library
# assertions make an index past a container's size fail even where ASan sees
# only reserved capacity.
set(JLAUNCH_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)
add_compile_options(-O1 -g -fno-omit-frame-pointer ${JLAUNCH_SANITIZERS} -fsanitize=fuzzer-no-link -D_GLIBCXX_ASSERTIONS)
add_link_options(${JLAUNCH_SANITIZERS})
