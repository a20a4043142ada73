#include "bench/Bench.Harness.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace bench {

namespace {

bool Value(const char* Arg, const char* Name, std::string& Out) {
    const std::size_t n = std::strlen(Name);
    if (std::strncmp(Arg, Name, n) != 0) {
        return false;
    }
    Out = Arg + n;
    return true;
}

// Milliseconds with as many decimals as a small figure needs.
std::string Ms(double SecondsValue) {
    const double ms = SecondsValue * 1e3;
    char text[32];
    std::snprintf(text, sizeof text, ms >= 100 ? "%.1f" : ms >= 1 ? "%.2f" : "%.4f", ms);
    return text;
}

bool ReadAll(int Fd, void* Buffer, std::size_t Count) {
    auto* out = static_cast<char*>(Buffer);
    while (Count > 0) {
        const ssize_t n = ::read(Fd, out, Count);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        out += n;
        Count -= static_cast<std::size_t>(n);
    }
    return true;
}

int PassesOption = 2;

} // namespace

int Passes() {
    return PassesOption;
}

bool ParseOptions(int argc, char** argv, TOptions& Options) {
    for (int i = 1; i < argc; ++i) {
        std::string value;
        if (Value(argv[i], "--rounds=", value)) {
            Options.Rounds = std::max(1, std::atoi(value.c_str()));
        } else if (Value(argv[i], "--filter=", value)) {
            Options.Filter = value;
        } else if (Value(argv[i], "--profile=", value)) {
            Options.Profile = value;
        } else if (Value(argv[i], "--passes=", value)) {
            Options.Passes = std::max(1, std::atoi(value.c_str()));
            PassesOption = Options.Passes;
        } else if (std::strcmp(argv[i], "--list") == 0) {
            Options.List = true;
        } else {
            std::fprintf(stderr,
                         "unknown argument %s\nusage: tarvin_bench [--rounds=N] [--filter=TEXT] "
                         "[--profile=ID [--passes=N]] [--list]\n",
                         argv[i]);
            return false;
        }
    }
    return true;
}

double Seconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

__attribute__((noinline)) double TimeIt(const std::function<void()>& Work) {
    const double start = Seconds();
    Work();
    return Seconds() - start;
}

double InChild(const TMeasure& Measure) {
    int fds[2];
    if (::pipe(fds) != 0) {
        std::perror("pipe");
        return -1;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        return -1;
    }
    if (child == 0) {
        ::close(fds[0]);
        double result = -1;
        try {
            result = Measure();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "measurement failed: %s\n", e.what());
        }
        const bool sent = ::write(fds[1], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
        std::fflush(nullptr);
        // No destructors of the parent's objects run in the child.
        std::_Exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    double result = -1;
    if (!ReadAll(fds[0], &result, sizeof result)) {
        result = -1;
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "measurement process ended abnormally (status %d)\n", status);
        return -1;
    }
    return result;
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    const std::size_t n = Values.size();
    return n % 2 == 1 ? Values[n / 2] : (Values[n / 2 - 1] + Values[n / 2]) / 2;
}

int TRunner::RunProfile() {
    for (const TGroup& group : FGroups) {
        std::vector<const TMember*> members{&group.Baseline};
        for (const TMember& c : group.Contenders) {
            members.push_back(&c);
        }
        for (const TMember* m : members) {
            if (m->Id == FOptions.Profile) {
                const double s = m->Measure();
                std::printf("%s: %s ms (second pass)\n", m->Name.c_str(), Ms(s).c_str());
                return s < 0 ? 1 : 0;
            }
        }
    }
    std::fprintf(stderr, "no measurement with the id %s (--list names them)\n", FOptions.Profile.c_str());
    return 1;
}

bool TRunner::RunGroup(const TGroup& Group) {
    const std::size_t members = Group.Contenders.size() + 1;
    // times[0] is the baseline's, times[k] contender k-1's; one entry per round.
    std::vector<std::vector<double>> times(members);
    std::fprintf(stderr, "%s:", Group.Title.c_str());
    for (int round = 0; round < FOptions.Rounds; ++round) {
        for (std::size_t step = 0; step < members; ++step) {
            const std::size_t k = (step + static_cast<std::size_t>(round)) % members;
            const TMember& m = k == 0 ? Group.Baseline : Group.Contenders[k - 1];
            const double s = InChild(m.Measure);
            if (s < 0) {
                std::fprintf(stderr, "\n%s failed\n", m.Name.c_str());
                return false;
            }
            times[k].push_back(s);
        }
        std::fprintf(stderr, " %d", round + 1);
    }
    std::fprintf(stderr, "\n");

    const double baseline = Median(times[0]);
    std::printf("\n== %s (%d rounds) ==\n", Group.Title.c_str(), FOptions.Rounds);
    std::printf("  %-52s %12s ms\n", Group.Baseline.Name.c_str(), Ms(baseline).c_str());
    for (std::size_t k = 1; k < members; ++k) {
        std::vector<double> ratios;
        for (int round = 0; round < FOptions.Rounds; ++round) {
            ratios.push_back(times[k][static_cast<std::size_t>(round)] / times[0][static_cast<std::size_t>(round)]);
        }
        TResult r;
        r.Group = Group.Title;
        r.Contender = Group.Contenders[k - 1].Name;
        r.Baseline = Group.Baseline.Name;
        r.ContenderMs = Median(times[k]);
        r.BaselineMs = baseline;
        r.Ratio = Median(ratios);
        r.RatioMin = *std::min_element(ratios.begin(), ratios.end());
        r.RatioMax = *std::max_element(ratios.begin(), ratios.end());
        std::printf("  %-52s %12s ms   ratio %6.3f  [%.3f .. %.3f]\n", r.Contender.c_str(),
                    Ms(r.ContenderMs).c_str(), r.Ratio, r.RatioMin, r.RatioMax);
        FResults.push_back(r);
    }
    std::fflush(stdout);
    return true;
}

int TRunner::Run() {
    if (FOptions.List) {
        for (const TGroup& group : FGroups) {
            std::printf("%s\n  %-22s %s\n", group.Title.c_str(), group.Baseline.Id.c_str(),
                        group.Baseline.Name.c_str());
            for (const TMember& c : group.Contenders) {
                std::printf("  %-22s %s\n", c.Id.c_str(), c.Name.c_str());
            }
        }
        return 0;
    }
    if (!FOptions.Profile.empty()) {
        return RunProfile();
    }
    bool ok = true;
    for (const TGroup& group : FGroups) {
        if (group.Title.find(FOptions.Filter) == std::string::npos) {
            continue;
        }
        ok = RunGroup(group) && ok;
    }
    std::printf("\n== Summary: median of %d rounds; ratio = contender / baseline of the same round, "
                "[smallest .. largest] ==\n",
                FOptions.Rounds);
    std::printf("| contender | time (ms) | baseline | baseline time (ms) | ratio | spread |\n");
    std::printf("|---|---:|---|---:|---:|---|\n");
    for (const TResult& r : FResults) {
        std::printf("| %s | %s | %s | %s | %.2f | %.2f .. %.2f |\n", r.Contender.c_str(), Ms(r.ContenderMs).c_str(),
                    r.Baseline.c_str(), Ms(r.BaselineMs).c_str(), r.Ratio, r.RatioMin, r.RatioMax);
    }
    return ok ? 0 : 1;
}

} // namespace bench
