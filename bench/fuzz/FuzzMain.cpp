// Fuzzing the data-file loader: mutated data files fed to the real edge window in this
// process, each case within a time limit. One line per case, then the figures.
//   bench_fuzz [cases]          cases 0 .. cases-1 (300 by default)
//   bench_fuzz --case N         that case only (to replay a failure)
//   bench_fuzz --from N [cases] cases N .. cases-1 (to go on after a crash)
//   --limit SECONDS             each case's time limit (90 by default)
//   --file FILE                 that file's bytes as the one case (a case kept before)
//   --keep FOLDER               each case's bytes are written there as case-N.xml
//                               before it runs and removed once it has passed
// The first cases are the seeds themselves, unmutated: they must load without a word.
#include "fuzz/CaseGuard.h"
#include "fuzz/LoadCase.h"
#include "fuzz/Mutator.h"
#include "fuzz/Random.h"
#include "fuzz/Seeds.h"

#include "app/DataFile.h"
#include "gui/Error.h"
#include "shell/ShellModule.h"
#include "support/BenchClock.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Options {
    int from = 0;
    int to = 300;
    DWORD limitMs = 90000;
    std::wstring keep;
    std::wstring file;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool more = i + 1 < argc;
        if (arg == "--case" && more) {
            options.from = std::atoi(argv[++i]);
            options.to = options.from + 1;
        } else if (arg == "--from" && more) {
            options.from = std::atoi(argv[++i]);
        } else if (arg == "--limit" && more) {
            options.limitMs = static_cast<DWORD>(std::atoi(argv[++i])) * 1000;
        } else if (arg == "--file" && more) {
            options.file = testing_support::FromUtf8(argv[++i]);
            options.to = options.from + 1;
        } else if (arg == "--keep" && more) {
            options.keep = testing_support::FromUtf8(argv[++i]);
        } else if (!arg.empty() && arg[0] != '-') {
            options.to = std::atoi(arg.c_str());
        } else {
            return false;
        }
    }
    return options.from >= 0 && options.to > options.from && options.limitMs > 0;
}

std::wstring KeptName(const Options& options, int number) {
    return options.keep + L"\\case-" + std::to_wstring(number) + L".xml";
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: bench_fuzz [cases] [--case N] [--from N] [--limit SECONDS] [--keep "
                             "FOLDER] [--file FILE]\n");
        return 2;
    }
    if (FAILED(::OleInitialize(nullptr)))
        return 2;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    fuzz::StartCaseGuard(options.limitMs);

    int run = 0, failed = 0, slowest = -1;
    double slowestMs = 0, start = NowMs();
    {
        shell::ShellModule shellModule;
        // A roaming AppData of this run's own: the user's data file is never touched.
        testing_support::TempFolder appData;
        std::wstring dataFile = appData.MakeFolder(L"Tamberlow\\Kestrav") + L"\\Kestrav.xml";
        app::SetDataFileName(dataFile);
        const std::vector<fuzz::SeedFile> seeds = fuzz::MakeSeeds(dataFile);

        for (int number = options.from; number < options.to; ++number) {
            uint64_t seed = fuzz::CaseSeed(number);
            const fuzz::SeedFile& seedFile = seeds[static_cast<size_t>(number) % seeds.size()];
            std::string applied = "none";
            std::string bytes = number < static_cast<int>(seeds.size())
                                    ? seedFile.bytes
                                    : fuzz::Mutate(seedFile.bytes, seed, applied);
            if (!options.file.empty()) {
                bytes = testing_support::ReadBytes(options.file);
                applied = "the file's bytes";
            }
            if (!options.keep.empty())
                testing_support::WriteBytes(KeptName(options, number), bytes);

            fuzz::BeginCase(number, seed);
            double caseStart = NowMs();
            fuzz::CaseOutcome outcome;
            try {
                outcome = fuzz::LoadCase(dataFile, bytes);
            } catch (...) {
                outcome.failures.push_back(
                    "an exception reached the caller: " +
                    testing_support::Utf8(gui::CurrentExceptionMessage().substr(0, 300)));
            }
            double ms = NowMs() - caseStart;
            fuzz::EndCase();

            if (number < static_cast<int>(seeds.size()) && !outcome.message.empty())
                outcome.failures.push_back("an unmutated seed file reported an error");
            ++run;
            if (ms > slowestMs) {
                slowestMs = ms;
                slowest = number;
            }
            std::printf("case %d seed 0x%016llx ms %.0f: %s frames %zu, %s; mutations: %s", number,
                        static_cast<unsigned long long>(seed), ms, seedFile.name.c_str(), outcome.frames,
                        outcome.message.empty() ? "no message" : "one message", applied.c_str());
            if (outcome.failures.empty()) {
                std::printf(" ok\n");
                if (!options.keep.empty())
                    ::DeleteFileW(KeptName(options, number).c_str());
            } else {
                ++failed;
                std::printf(" FAIL:");
                for (const std::string& failure : outcome.failures)
                    std::printf(" %s;", failure.c_str());
                if (!outcome.message.empty())
                    std::printf(" message: %s",
                                testing_support::Utf8(outcome.message.substr(0, 300)).c_str());
                std::printf("\n");
            }
        }
    }
    std::printf("fuzz: cases run %d, failures %d, slowest case %d (%.0f ms), total %.1f s\n", run, failed,
                slowest, slowestMs, (NowMs() - start) / 1000);
    ::OleUninitialize();
    return failed == 0 ? 0 : 1;
}
