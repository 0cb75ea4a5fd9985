#pragma once
// Puts the processor's name in every report: figures mean little without it.
#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

inline std::string CpuModel() {
    std::ifstream info("/proc/cpuinfo");
    for (std::string line; std::getline(info, line);)
        if (line.rfind("model name", 0) == 0) {
            const auto colon = line.find(':');
            return colon == std::string::npos
                       ? line
                       : line.substr(line.find_first_not_of(" \t", colon + 1));
        }
    return "unknown";
}

inline const bool cpuModelNoted = (benchmark::AddCustomContext("cpu_model", CpuModel()), true);
