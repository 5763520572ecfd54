# SPDX-License-Identifier: MIT
# Every fuzz target with the libraries of the program it exercises. Read by
# the fuzz project (libFuzzer, clang) and by tests/fuzz_corpus (the ordinary
# compiler, every corpus replayed in ctest), each defining
# quelmo_fuzz_target(NAME LIBRARIES...) its own way: NAME_fuzz.cpp is the
# source and fuzz/corpus/NAME the corpus.
quelmo_fuzz_target(motion_wire quelmo_motion_protocol)
quelmo_fuzz_target(earbuds_wire quelmo_motion_protocol)
quelmo_fuzz_target(hid_descriptor quelmo_motion_protocol)
quelmo_fuzz_target(signal_report quelmo_signal)
quelmo_fuzz_target(tool_text quelmo_bluetooth quelmo_sim_lib)
quelmo_fuzz_target(trace_lines quelmo_replay)
# The app model, for the stored preference texts and the command words.
quelmo_fuzz_target(settings_values quelmo_app)
quelmo_fuzz_target(command_words quelmo_app quelmo_virtual_scheduler)
