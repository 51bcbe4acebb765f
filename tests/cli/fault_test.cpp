// tarvix-design where the world is against it: no temporary folder, no
// threads, an engine that hangs or fails or is interrupted, files it must
// not or cannot write, and a user's locale. Each fault is reported, leaves
// nothing behind and loses nothing that could be kept.
#include "calc/design_run.h"
#include "nec/design_model.h"
#include "nec/nec2c.h"
#include "nec/nec_deck.h"
#include "needs_nec2c.h"
#include "program_run.h"

#include <cerrno>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tarvix::test {
namespace {

const std::string kDesign = "--freq 7 --length 60 --coil-distance 20 ";

std::string lastLine(const std::string& text) {
    std::istringstream lines(text);
    std::string last;
    for (std::string line; std::getline(lines, line);) {
        last = line;
    }
    return last;
}

bool emptyFolder(const std::filesystem::path& folder) {
    return std::filesystem::is_empty(folder);
}

// A stand-in for nec2c in its own folder, to be put first on PATH: the
// script's body runs with the deck's and the listing's paths in $in and $out.
std::filesystem::path fakeEngine(const ScratchDir& scratch, const std::string& body) {
    std::filesystem::create_directory(scratch.path("bin"));
    const auto script = scratch.path("bin") / "nec2c";
    std::ofstream(script) << "#!/bin/sh\n"
                          << "for a in \"$@\"; do case \"$a\" in -i*) in=\"${a#-i}\";; "
                             "-o*) out=\"${a#-o}\";; esac; done\n"
                          << body << "\n";
    chmod(script.c_str(), 0755);
    return script;
}

std::string pathWith(const std::filesystem::path& engine) {
    return "PATH=" + engine.parent_path().string() + ":/usr/bin:/bin";
}

// The command run as the user nobody when the tests run as root, who may
// write any file and start any number of processes; as it is otherwise.
std::optional<std::vector<std::string>> asNormalUser(const std::string& command) {
    if (geteuid() != 0) {
        return std::vector<std::string>{"/bin/bash", "-c", command};
    }
    if (access("/usr/bin/setpriv", X_OK) != 0) {
        return std::nullopt;
    }
    return std::vector<std::string>{"/usr/bin/setpriv",
                                    "--reuid=65534",
                                    "--regid=65534",
                                    "--clear-groups",
                                    "/bin/bash",
                                    "-c",
                                    command};
}

// The program as the user nobody can start it: root's checkout may be in a
// folder only root may enter (root's home is mode 0700), so under root a copy
// in the scratch folder, which is made enterable; the program needs nothing
// else from the build tree to design and simulate.
std::string programForNormalUser(const ScratchDir& scratch) {
    if (geteuid() != 0) {
        return TARVIX_DESIGN_PATH;
    }
    const auto copy = scratch.path("tarvix-design");
    std::filesystem::copy_file(TARVIX_DESIGN_PATH, copy,
                               std::filesystem::copy_options::overwrite_existing);
    chmod(copy.c_str(), 0755);
    chmod(scratch.path("").c_str(), 0755);
    return copy.string();
}

ProgramRun runCommand(const std::vector<std::string>& command,
                      const std::vector<std::string>& environment = {}) {
    return runProgram(command.front(), {command.begin() + 1, command.end()}, environment);
}

// ---- the temporary folder ----------------------------------------------------------

TEST(TemporaryFolder, ATmpdirThatCannotHoldOneIsNamedAndTheDesignStillReported) {
    const ScratchDir scratch;
    const auto file = scratch.path("a-file");
    std::ofstream(file) << "not a folder\n";
    const std::string tooLong = "/" + std::string(5000, 'a');
    struct Row {
        std::string tmpdir;
        std::string complaint;
    };
    for (const Row& row : {Row{"/nonexistent", "TMPDIR /nonexistent: No such file or directory"},
                           Row{"", "TMPDIR is set but empty"},
                           Row{file.string(), "TMPDIR " + file.string() + ": Not a directory"},
                           Row{tooLong, "...: File name too long"}}) {
        const ProgramRun run =
            runProgram(TARVIX_DESIGN_PATH, words(kDesign + "--simulate"), {"TMPDIR=" + row.tmpdir});
        EXPECT_EQ(run.status, 1) << row.complaint;
        EXPECT_NE(lastLine(run.err).find(row.complaint), std::string::npos) << run.err;
        EXPECT_LT(run.err.size(), 400u);
        EXPECT_EQ(run.out.rfind("Inductance:", 0), 0u) << run.out;
    }
}

TEST(Threads, AProcessLimitIsReportedAndLeavesNoFolder) {
    const ScratchDir scratch;
    const auto temporary = scratch.path("tmp");
    std::filesystem::create_directory(temporary);
    chmod(temporary.c_str(), 0777);
    const auto command = asNormalUser("ulimit -u 2; exec " + programForNormalUser(scratch) + " " +
                                      kDesign + "--simulate");
    if (!command) {
        GTEST_SKIP() << "root starts any number of threads, and setpriv is missing to run as "
                        "another user";
    }
    const ProgramRun run = runCommand(*command, {"TMPDIR=" + temporary.string()});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(lastLine(run.err).find("Resource temporarily unavailable"), std::string::npos)
        << run.err;
    EXPECT_TRUE(emptyFolder(temporary));
}

// ---- the engine ----------------------------------------------------------------------

bool processGone(pid_t pid) {
    return kill(pid, 0) != 0 && errno == ESRCH;
}

pid_t pidIn(const std::filesystem::path& file) {
    pid_t pid = 0;
    std::ifstream(file) >> pid;
    return pid;
}

TEST(NecRunner, AnEngineThatNeverEndsIsKilledAtItsTimeLimit) {
    const ScratchDir scratch;
    const auto pidFile = scratch.path("pid");
    const auto engine = fakeEngine(scratch, "echo $$ > '" + pidFile.string() + "'; exec sleep 600");
    Nec2c nec(engine.string(), std::chrono::milliseconds(300));
    try {
        nec.solve("GW 1 61 0 0 0 1 0 0 0.001\nFR 0 41 0 0 5.6 0.07\nEN\n");
        ADD_FAILURE() << "no error from an engine that never ends";
    } catch (const NecEngineError& error) {
        EXPECT_EQ(std::string(error.what()),
                  engine.string() +
                      " was stopped after 0.3 s, the time limit for 61 segments at 41 frequencies");
    }
    const pid_t pid = pidIn(pidFile);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(processGone(pid));
}

// Starts tarvix-design with a slow engine, sends the signal once an engine
// runs and returns how the program ended, with the process ids of every
// engine that started (several run side by side).
struct Interrupted {
    int status = 0;
    std::vector<pid_t> engines;
};

Interrupted interrupt(const ScratchDir& scratch, const std::filesystem::path& temporary,
                      int signal) {
    const auto pidFile = scratch.path("pid");
    std::filesystem::remove(pidFile);
    const auto engine =
        // A line this short is appended whole, whichever engine writes it.
        fakeEngine(scratch, "echo $$ >> '" + pidFile.string() + "'; exec sleep 600");
    std::vector<std::string> settings{"TMPDIR=" + temporary.string(), pathWith(engine)};
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string setting = *entry;
        if (setting.rfind("TMPDIR=", 0) != 0 && setting.rfind("PATH=", 0) != 0) {
            settings.push_back(setting);
        }
    }
    std::vector<char*> envp;
    for (std::string& setting : settings) {
        envp.push_back(setting.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args =
        words(std::string(TARVIX_DESIGN_PATH) + " " + kDesign + "--simulate --height 30");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // As a program in the foreground gets it, even when the tests run in the
    // background with INT ignored.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    Interrupted result;
    const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return result;
    }
    for (int tries = 0; tries < 500 && !std::filesystem::exists(pidFile); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, signal);
    waitpid(pid, &result.status, 0);
    // Read when the program has ended: an engine started as the signal came
    // is counted too.
    std::ifstream pids(pidFile);
    for (pid_t engine = 0; pids >> engine;) {
        result.engines.push_back(engine);
    }
    return result;
}

class InterruptedRun : public testing::TestWithParam<int> {};

TEST_P(InterruptedRun, KillsAndReapsTheEngineRemovesTheFolderAndEndsByTheSignal) {
    const ScratchDir scratch;
    const auto temporary = scratch.path("tmp");
    std::filesystem::create_directory(temporary);
    const Interrupted run = interrupt(scratch, temporary, GetParam());
    ASSERT_FALSE(run.engines.empty()) << "no engine started";
    EXPECT_TRUE(WIFSIGNALED(run.status) && WTERMSIG(run.status) == GetParam()) << run.status;
    for (const pid_t engine : run.engines) {
        EXPECT_TRUE(processGone(engine)) << "engine " << engine;
        if (!processGone(engine)) {
            kill(engine, SIGKILL);
        }
    }
    EXPECT_TRUE(emptyFolder(temporary));
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedRun,
                         testing::Values(SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2,
                                         SIGALRM, SIGPIPE),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

TEST(NecRunner, ReadsTheSameNumbersUnderADecimalCommaLocale) {
    NEEDS_NEC2C();
    DesignInputs inputs;
    inputs.freqMHz = 7;
    inputs.totalLengthFt = 60;
    inputs.centreToCoilFt = 20;
    const DesignResult design = runDesign(inputs);
    std::ostringstream deck;
    const AntennaModel model = designModel(design.record, design.record.inductanceUH, {});
    writeNecDeck(deck, model, {}, {designSweep(7)});
    auto solved = [&deck] {
        Nec2c engine(NEC2C_PATH);
        return engine.solve(deck.str());
    };
    const std::vector<FeedPoint> inC = solved();
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const bool german = std::setlocale(LC_ALL, "") != nullptr;
    const std::vector<FeedPoint> inGerman = solved();
    std::setlocale(LC_ALL, "C");
    unsetenv("LC_ALL");
    ASSERT_TRUE(german) << "the locale de_DE.UTF-8 is missing (scripts/install-deps makes it)";
    ASSERT_EQ(inGerman.size(), inC.size());
    for (std::size_t i = 0; i < inC.size(); ++i) {
        EXPECT_EQ(inGerman[i].freqMHz, inC[i].freqMHz) << i;
        EXPECT_EQ(inGerman[i].resistanceOhm, inC[i].resistanceOhm) << i;
        EXPECT_EQ(inGerman[i].reactanceOhm, inC[i].reactanceOhm) << i;
        EXPECT_EQ(inGerman[i].inputPowerW, inC[i].inputPowerW) << i;
        EXPECT_EQ(inGerman[i].radiatedPowerW, inC[i].radiatedPowerW) << i;
    }
    EXPECT_NEAR(inC.front().freqMHz, 5.6, 1e-9);
}

// ---- what is kept when the simulation fails ----------------------------------------

struct KeptCase {
    const char* name;
    std::string args;
    bool fakeEngine; // one that fails; else the real nec2c
    std::string complaint;
};

void PrintTo(const KeptCase& c, std::ostream* os) {
    *os << c.name;
}

class FailedSimulation : public testing::TestWithParam<KeptCase> {};

TEST_P(FailedSimulation, KeepsTheReportAndTheDeckThenSaysWhy) {
    const KeptCase& c = GetParam();
    if (!c.fakeEngine) {
        NEEDS_NEC2C();
    }
    const ScratchDir scratch;
    const auto deck = scratch.path("keep.nec");
    std::vector<std::string> environment;
    if (c.fakeEngine) {
        environment.push_back(pathWith(fakeEngine(scratch, "echo 'bad card' >&2; exit 255")));
    }
    const ProgramRun run = runProgram(
        TARVIX_DESIGN_PATH, words(kDesign + c.args + " --nec " + deck.string()), environment);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(lastLine(run.err).find(c.complaint), std::string::npos) << run.err;
    EXPECT_EQ(readFile(deck).rfind("CM Loaded dipole", 0), 0u);
    if (c.args.find("--json") != std::string::npos) {
        const nlohmann::json report = nlohmann::json::parse(run.out);
        EXPECT_EQ(report["inductance_uH"], 5.533500417592047);
        EXPECT_FALSE(report.contains("simulation"));
    } else {
        EXPECT_EQ(run.out, "Inductance:     5.5 uH\nFull precision: 5.533500417592047 uH\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Nec, FailedSimulation,
    testing::Values(KeptCase{"EngineFailsUnderJson", "--simulate --json", true,
                             "nec2c failed: bad card"},
                    KeptCase{"NoCoilResonates", "--simulate --coil-q 0.5", false,
                             "no coil inductance makes the antenna resonate"}),
    [](const testing::TestParamInfo<KeptCase>& info) { return info.param.name; });

TEST(FaultingDesign, SaysThatNeitherSimulationNorDeckWasMade) {
    const ScratchDir scratch;
    const auto deck = scratch.path("f.nec");
    const ProgramRun run = runProgram(
        TARVIX_DESIGN_PATH,
        words(kDesign + "--former-dia 0 --coil-length 2 --simulate --nec " + deck.string()));
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("tarvix-design: winding: Division by zero\n"), std::string::npos);
    EXPECT_EQ(lastLine(run.err),
              "tarvix-design: the design faulted, so it was not simulated and no deck was written");
    EXPECT_FALSE(std::filesystem::exists(deck));
}

TEST(SimulationReport, AnSwrBeyondAHundredIsSaidSoAndJsonKeepsOnlyNumbers) {
    NEEDS_NEC2C();
    const ProgramRun text =
        runProgram(TARVIX_DESIGN_PATH, words(kDesign + "--simulate --z0 10000"));
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find(", SWR above 100 on 10000 ohm.\n"), std::string::npos) << text.out;
    const ProgramRun json =
        runProgram(TARVIX_DESIGN_PATH, words(kDesign + "--simulate --z0 10000 --json"));
    const nlohmann::json sim = nlohmann::json::parse(json.out).at("simulation");
    for (const char* antenna : {"formula", "corrected"}) {
        EXPECT_TRUE(!sim[antenna].contains("swr") || sim[antenna]["swr"].is_number()) << antenna;
    }
}

// ---- the files written ---------------------------------------------------------------

// Runs tarvix-design in the folder with a file size limit of one 512-byte
// block, which stops the deck and the picture part-way through.
ProgramRun runWithFullDisk(const std::filesystem::path& folder, const std::string& args) {
    return runProgram("/bin/sh", {"-c", "cd '" + folder.string() +
                                            "' && trap '' XFSZ && ulimit -f 1 && "
                                            "exec " +
                                            TARVIX_DESIGN_PATH + " " + args});
}

// --plot writes its picture through the same replacement as the deck; a file
// size limit would stop nec2c's own listing first, so the deck shows it.
TEST(FullDisk, ALinkedFileKeepsItsOldContentAndTheLinkStays) {
    const ScratchDir scratch;
    std::filesystem::create_directory(scratch.path("kept"));
    const auto target = scratch.path("kept") / "old.nec";
    std::ofstream(target) << "old content\n";
    std::filesystem::create_symlink(target, scratch.path("link.nec"));
    const ProgramRun run = runWithFullDisk(
        scratch.path(""), kDesign + "--height 30 --former-dia 2 --coil-length 2 --nec link.nec");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tarvix-design: cannot write link.nec: File too large\n");
    EXPECT_EQ(readFile(target), "old content\n");
    EXPECT_TRUE(std::filesystem::is_symlink(scratch.path("link.nec")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.path("kept")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(FileErrors, FoldersAndFilesTheUserMayNotWriteAreRefusedAsTheShellRefusesThem) {
    const ScratchDir scratch;
    std::filesystem::create_directory(scratch.path("adir"));
    for (const std::string& name :
         {scratch.path("adir").string(), scratch.path("adir").string() + "/",
          scratch.path("").string() + "."}) {
        const ProgramRun run = runProgram(TARVIX_DESIGN_PATH, words(kDesign + "--nec " + name));
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(run.err, "tarvix-design: cannot write " + name + ": Is a directory\n");
    }

    // A file of mode 444, and one of 644 that another user owns (the tests'
    // own files are root's when they run as root).
    const std::string program = programForNormalUser(scratch);
    chmod(scratch.path("").c_str(), 0777);
    const auto readOnly = scratch.path("ro.nec");
    const auto othersFile = scratch.path("others.nec");
    std::ofstream(readOnly) << "kept\n";
    std::ofstream(othersFile) << "kept\n";
    chmod(readOnly.c_str(), 0444);
    chmod(othersFile.c_str(), 0644);
    for (const auto& file : {readOnly, othersFile}) {
        if (file == othersFile && geteuid() != 0) {
            continue; // a file of another user needs root to make
        }
        const auto command = asNormalUser(program + " " + kDesign + "--nec " + file.string());
        if (!command) {
            GTEST_SKIP()
                << "root may write any file, and setpriv is missing to run as another user";
        }
        const ProgramRun run = runCommand(*command);
        EXPECT_EQ(run.status, 1) << file;
        EXPECT_EQ(run.err,
                  "tarvix-design: cannot write " + file.string() + ": Permission denied\n");
        EXPECT_EQ(readFile(file), "kept\n");
        struct stat info {};
        stat(file.c_str(), &info);
        EXPECT_EQ(info.st_uid, geteuid()) << file;
    }
}

TEST(PlotOnStandardOutput, IsTheSvgInPlaceOfTheReportAndNoFileNamedDash) {
    NEEDS_NEC2C();
    const ScratchDir scratch;
    const ProgramRun run = runProgram("/bin/sh", {"-c", "cd '" + scratch.path("").string() +
                                                            "' && exec " + TARVIX_DESIGN_PATH +
                                                            " " + kDesign + "--simulate --plot -"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("<?xml", 0), 0u) << run.out.substr(0, 100);
    EXPECT_NE(run.out.find("<svg"), std::string::npos);
    EXPECT_TRUE(emptyFolder(scratch.path("")));
}

} // namespace
} // namespace tarvix::test
