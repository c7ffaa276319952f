// list DIR: load_folder (read, hide, sort by Name), once (whole-process timing by the script).
// refresh DIR ITERATIONS: the silent refresh of an unchanged folder; prints the median in ns.
#include "model/listing.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace files::model;

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "list") == 0) {
        // Exactly what opening a folder does: the default listing hides and sorts by Name.
        Listing l;
        load_folder(l, argv[2]);
        if (l.load_error) return 1;
        std::printf("%zu\n", l.entries.size());
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "refresh") == 0) {
        Listing l;
        load_folder(l, argv[2]);
        if (l.load_error) return 1;
        int n = std::atoi(argv[3]);
        std::vector<long long> ns;
        std::vector<size_t> selected = {0, 1};
        size_t docs = 0;
        for (const auto& e : l.entries) docs += bool(e.availability) + bool(e.share) + bool(e.history);
        for (int i = 0; i < n; ++i) {
            auto t0 = std::chrono::steady_clock::now();
            auto out = refresh_listing(l, selected, 0);
            auto t1 = std::chrono::steady_clock::now();
            if (out.changed) return 2;
            ns.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(t1 - t0).count());
        }
        std::sort(ns.begin(), ns.end());
        std::printf("%lld %zu %zu\n", ns[ns.size() / 2], l.entries.size(), docs);
        return 0;
    }
    std::fprintf(stderr, "usage: listing_bench list DIR | refresh DIR ITERATIONS\n");
    return 64;
}
