#pragma once
// Running a program of ours to its end and taking what it printed.
#include <string>
#include <vector>

// This executable's own path.
std::string SelfPath();

// Runs the program with the arguments (none may hold a space or a quote) and returns its
// standard output; raises when it fails or exits other than 0.
std::string ProcessOutput(const std::string& exe, const std::vector<std::string>& args);
