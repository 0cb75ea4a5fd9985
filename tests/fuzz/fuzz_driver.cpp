// One libFuzzer driver, built once per target with FUZZ_ENTRY naming the entry point.
#include "FuzzTargets.h"
#include <QGuiApplication>
#include <iostream>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen"), qputenv("SDL_AUDIODRIVER", "dummy");
    static QGuiApplication app(*argc, *argv);
    return 0;
}
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string broken = FUZZ_ENTRY(data, size);
    return broken.empty() ? 0 : (std::cerr << broken << std::endl, std::abort(), 1);
}
