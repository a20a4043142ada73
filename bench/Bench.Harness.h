#pragma once
// The benchmark's driver. A group is one baseline and the contenders compared with it. A group is
// measured in rounds; in every round each member is measured once, in an order that turns from
// round to round, so a contender and its baseline always share the machine's state of that moment.
// The report gives per member the median time, and per contender the median of its per-round
// ratios to the baseline with their smallest and largest value.
//
// Every measurement runs in a child process forked from the one that holds the workload: each
// starts from the same heap, whatever ran before it. A measurement times its own work (setup and
// teardown stay outside); TwoPasses runs that work once untimed first, so that every contender
// meets an allocator that has already served the same workload once.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// Seconds of the timed part.
using TMeasure = std::function<double()>;

struct TMember {
    std::string Id;   // short name for --profile
    std::string Name; // what the report calls it
    TMeasure Measure;
};

struct TGroup {
    std::string Title;
    TMember Baseline;
    std::vector<TMember> Contenders;
};

struct TOptions {
    int Rounds = 7;
    std::string Filter;      // only groups whose title contains this text
    std::string Profile;     // run the measurement with this Id once, in this process, and stop
    int Passes = 2;          // TwoPasses' passes, the first untimed; more give a profiler more to see
    bool List = false;
};

// "--rounds=N", "--filter=TEXT", "--profile=ID", "--passes=N", "--list"; false (with a message)
// otherwise.
bool ParseOptions(int argc, char** argv, TOptions& Options);

// How many passes TwoPasses makes (2 unless --passes says otherwise).
int Passes();

// A monotonic clock in seconds.
double Seconds();

// Runs Work and gives its time in seconds. Never inlined, so that a profiler can count only what
// happens inside it: valgrind --tool=callgrind --toggle-collect='bench::TimeIt*'.
double TimeIt(const std::function<void()>& Work);

// Setup, then the timed Work, then Teardown, twice (or Passes() times); the time of the last Work.
// Setup gives the state Work and Teardown take.
template <typename TSetup, typename TWork, typename TTeardown>
double TwoPasses(TSetup&& Setup, TWork&& Work, TTeardown&& Teardown) {
    double elapsed = 0;
    for (int pass = 0; pass < Passes(); ++pass) {
        auto state = Setup();
        elapsed = TimeIt([&] { Work(state); });
        Teardown(state);
    }
    return elapsed;
}

// Runs Measure in a forked child and gives what it measured; a negative value when the child
// failed (its message went to stderr).
double InChild(const TMeasure& Measure);

class TRunner {
public:
    explicit TRunner(TOptions Options) : FOptions(std::move(Options)) {}

    void Add(TGroup Group) { FGroups.push_back(std::move(Group)); }
    // Measures every group that passes the filter and prints the per-group results, then the
    // summary of every contender. 0 when every measurement succeeded.
    int Run();

private:
    struct TResult {
        std::string Group;
        std::string Contender;
        std::string Baseline;
        double ContenderMs = 0;
        double BaselineMs = 0;
        double Ratio = 0;
        double RatioMin = 0;
        double RatioMax = 0;
    };

    bool RunGroup(const TGroup& Group);
    int RunProfile();

    TOptions FOptions;
    std::vector<TGroup> FGroups;
    std::vector<TResult> FResults;
};

// The median of a non-empty list.
double Median(std::vector<double> Values);

} // namespace bench
