// SPDX-License-Identifier: GPL-3.0-or-later
// `korvane-cli info --json` over every style in a folder, in process, beside reading
// the same files (what `cat` does), and its parts: the load's walk of each image from
// memory, and the load from disk. bench/info-vs-cat.sh times the whole commands.
//
// usage: korvane_info_bench [FOLDER] [benchmark options]   (FOLDER: ../shared/corpus)

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/InfoCommand.h"
#include "document/KorvaneDoc.h"
#include "format/StyleReader.h"
#include "framework/platform/PathText.h"
#include "msg/MessagePresenter.h"

namespace {

// The styles of a folder and its subfolders, in a fixed order.
std::vector<std::filesystem::path> StylesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> styles;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (entry.is_regular_file() && extension == ".sty") styles.push_back(entry.path());
    }
    std::sort(styles.begin(), styles.end());
    return styles;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.tellg()));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Standard output sent to /dev/null, as the command's is when it is timed.
class NullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

std::int64_t BytesOf(const std::vector<std::filesystem::path>& styles) {
    std::int64_t bytes = 0;
    for (const auto& style : styles) bytes += static_cast<std::int64_t>(std::filesystem::file_size(style));
    return bytes;
}

// What cat does: every file read whole, once.
void ReadEveryFile(benchmark::State& state, const std::vector<std::filesystem::path>& styles) {
    for (auto _ : state) {
        for (const auto& style : styles) benchmark::DoNotOptimize(ReadFile(style).data());
    }
    state.SetBytesProcessed(state.iterations() * BytesOf(styles));
}

// The whole command, its output thrown away.
void InfoJson(benchmark::State& state, const std::vector<std::filesystem::path>& styles) {
    std::vector<std::string> args = {"--json"};
    for (const auto& style : styles) args.push_back(Utf8Of(style));
    NullBuffer discard;
    std::ostream out(&discard);
    for (auto _ : state) benchmark::DoNotOptimize(RunInfoCommand(args, out, out));
    state.SetBytesProcessed(state.iterations() * BytesOf(styles));
}

struct Quiet : CMessagePresenter {
    int Present(const MessageBoxRequest&) override { return 0; }
};

// Every style loaded as info loads it, with nothing printed.
void LoadEveryStyle(benchmark::State& state, const std::vector<std::filesystem::path>& styles) {
    Quiet quiet;
    InstallMessagePresenter(&quiet);
    for (auto _ : state) {
        for (const auto& style : styles) {
            CKorvaneDoc doc;
            benchmark::DoNotOptimize(doc.OnOpenDocument(style));
        }
    }
    InstallMessagePresenter(nullptr);
    state.SetBytesProcessed(state.iterations() * BytesOf(styles));
}

// The load's reading of each image, from memory: the walk of its track and the chunks after it.
void ReadEveryImage(benchmark::State& state, const std::vector<std::filesystem::path>& styles) {
    std::vector<std::vector<std::uint8_t>> images;
    for (const auto& style : styles) images.push_back(ReadFile(style));
    for (auto _ : state) {
        for (const auto& image : images) {
            StyleFacts facts;
            benchmark::DoNotOptimize(ReadStyle(image, facts));
            benchmark::DoNotOptimize(facts);
        }
    }
    state.SetBytesProcessed(state.iterations() * BytesOf(styles));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const std::filesystem::path folder = argc > 1 ? argv[1] : "../shared/corpus";
    const std::vector<std::filesystem::path> styles = StylesIn(folder);
    if (styles.empty()) {
        std::fprintf(stderr, "no .sty files in %s\n", folder.string().c_str());
        return 2;
    }
    std::fprintf(stderr, "%zu styles in %s\n", styles.size(), folder.string().c_str());
    benchmark::RegisterBenchmark("read_every_file", ReadEveryFile, styles);
    benchmark::RegisterBenchmark("info_json", InfoJson, styles);
    benchmark::RegisterBenchmark("load_every_style", LoadEveryStyle, styles);
    benchmark::RegisterBenchmark("read_every_image", ReadEveryImage, styles);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
