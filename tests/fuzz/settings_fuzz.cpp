// The settings file as the window reads it at its start: any bytes give the settings they
// hold or none with a notice, nothing else.

#include "app/settings_store.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path =
        orvane::fuzz::writeScratch("orvane.ini", orvane::fuzz::textOf(data, size));
    QString problem;
    const orvane::app::RememberedSettings settings =
        orvane::app::SettingsStore(QString::fromStdString(path)).read(&problem);
    static_cast<void>(settings);
    return 0;
}
