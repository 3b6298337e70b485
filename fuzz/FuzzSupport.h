// What every fuzz target shares: the fatal report that returns to the fuzzer, the input
// written to a file for loaders that open files, and the counts printed at exit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

// Runs one load, which gives false for a bad input it answers with an error result. A fatal
// report from one of the named source files is the designed answer to a bad input too: it
// ends the load here. Either way the input counts as rejected and the result is false. A
// report from any other file, or a file the load left open, is a finding.
bool LoadOrReject(const std::function<bool()>& load, std::initializer_list<const char*> rejectingSources = {});

// Writes the input to a file of that name in the target's scratch folder and returns its path.
std::string WriteInputFile(const uint8_t* data, size_t size, const char* name);
std::string ScratchPath(const char* name);
std::string ReadWholeFile(const std::string& path);

// Ends the run as a finding, with the reason and the input that gave it.
[[noreturn]] void Finding(const char* what, const std::string& detail = std::string());
