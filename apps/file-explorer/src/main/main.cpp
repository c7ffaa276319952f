#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include <cstdio>

#include "main/app_main.hpp"

int main(int argc, char** argv) {
    // The process-wide logger comes first; everything after may log.
    spdlog::set_default_logger(spdlog::stderr_color_mt("orvo-files"));
    auto result = orvo_ui::launch::run(files::startup::descriptor(), argc, argv);
    if (!result) {
        std::fprintf(stderr, "%s\n", result.error().debug_text().c_str());
        return 1;
    }
    return 0;
}
