// Production records shared by benches, against a real SQLite file and a real PostgreSQL server,
// with virtual modules on pseudo-terminals.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "cli/support/sha256.h"
#include "cli_run.h"
#include "module_bench.h"
#include "tests/core/test_pty.h"

namespace {

std::string Shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
        pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
}

// A throwaway PostgreSQL server, stopped when the test ends.
class PostgresServer {
public:
    explicit PostgresServer(const ScratchFolder& folder) : dir_(folder.Path("pg")) {
        chmod(folder.Path("").c_str(), 0755);
        uri = Shell(std::string("'") + PG_CLUSTER + "' start '" + dir_ + "'");
    }
    ~PostgresServer() { Shell(std::string("'") + PG_CLUSTER + "' stop '" + dir_ + "'"); }

    std::string uri;

private:
    std::string dir_;
};

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
    return fields;
}

// The records as the csv format gives them, a map of column name to value each.
std::vector<std::map<std::string, std::string>> Records(const std::string& db) {
    const CliResult result = RunCli({"records", db, "--format", "csv"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    std::vector<std::map<std::string, std::string>> records;
    std::vector<std::string> names;
    for (const std::string& line : Split(result.out, '\n')) {
        const std::vector<std::string> fields = Split(line.substr(0, line.size() - 1), ',');
        if (names.empty()) {
            names = fields;
            continue;
        }
        std::map<std::string, std::string> record;
        for (size_t i = 0; i < names.size() && i < fields.size(); ++i) record[names[i]] = fields[i];
        records.push_back(record);
    }
    return records;
}

std::string Row(const std::string& text) { return "|" + text + std::string(20 - text.size(), ' ') + "|"; }

void FourBenchesOfFourModules(const std::string& db, const ScratchFolder& folder) {
    ASSERT_EQ(RunCli({"new", "--geometry", "2x20", "--line", "1=Brevant", "-o", folder.Path("s.kss")}).exitCode, 0);
    std::map<std::string, std::unique_ptr<VirtualModule>> modules;
    std::vector<std::unique_ptr<CliProcess>> benches;
    for (int bench = 0; bench < 4; ++bench) {
        std::vector<std::string> arguments{"store", folder.Path("s.kss"), "--line", "2=SN {serial}", "--records", db,
                                           "--bench", "bench" + std::to_string(bench)};
        for (int i = 0; i < 4; ++i) {
            auto module = std::make_unique<VirtualModule>(folder, "m" + std::to_string(bench * 4 + i), "2x20");
            arguments.insert(arguments.end(), {"--port", module->Port()});
            modules[module->Port()] = std::move(module);
        }
        benches.push_back(std::make_unique<CliProcess>(folder, arguments));
    }
    for (auto& bench : benches) {
        const CliResult result = bench->Wait();
        EXPECT_EQ(result.exitCode, 0) << result.err << result.out;
    }
    const auto records = Records(db);
    ASSERT_EQ(records.size(), 16u);
    std::set<std::string> serials;
    for (const auto& record : records) {
        serials.insert(record.at("serial"));
        EXPECT_EQ(record.at("result"), "stored");
        EXPECT_EQ(record.at("bytes_sent"), "130");
        // The number in the record is the number on the module the record names.
        const auto& module = modules.at(record.at("port"));
        module->PowerCycleUntil("row2", Row("SN " + record.at("serial")));
        EXPECT_EQ(module->Dump().at("row2"), Row("SN " + record.at("serial"))) << record.at("port");
    }
    EXPECT_EQ(serials.size(), 16u);
    EXPECT_EQ(*serials.begin(), "1");
}

TEST(Records, FourBenchesAtOnceOnOneSqliteFileNeverShareANumber) {
    ScratchFolder folder;
    FourBenchesOfFourModules(folder.Path("line.db"), folder);
}

TEST(Records, FourBenchesAtOnceOnOnePostgresServerNeverShareANumber) {
    ScratchFolder folder;
    PostgresServer server(folder);
    ASSERT_NE(server.uri.find("postgresql://"), std::string::npos) << "no server started";
    FourBenchesOfFourModules(server.uri, folder);
}

TEST(Records, AModuleThatGoesAwayKeepsItsNumberAsFailedWithTheHashOfWhatWent) {
    ScratchFolder folder;
    const std::string db = folder.Path("line.db");
    ASSERT_EQ(RunCli({"new", "--geometry", "2x20", "-o", folder.Path("s.kss")}).exitCode, 0);
    TestPty going;
    CliProcess cli(folder, {"store", folder.Path("s.kss"), "--port", going.device, "--line", "2=SN {serial}",
                            "--serial-from", "500", "--records", db});
    ASSERT_EQ(going.Read(22).size(), 22u);
    going.CloseFarEnd();
    const CliResult result = cli.Wait();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find(") serial 500"), std::string::npos) << result.out;

    auto records = Records(db);
    ASSERT_EQ(records.size(), 1u);
    const auto& failed = records[0];
    EXPECT_EQ(failed.at("serial"), "500");
    EXPECT_EQ(failed.at("complete"), "0");
    EXPECT_EQ(failed.at("result").rfind("write failed after " + failed.at("bytes_sent") + " of 130 bytes", 0), 0u)
        << failed.at("result");
    // The hash of exactly the bytes that went, of the screen stamped with its number.
    ASSERT_EQ(RunCli({"new", "--from", folder.Path("s.kss"), "--line", "2=SN 500", "-o", folder.Path("500.kss")}).exitCode, 0);
    const std::string plan = RunCli({"export", folder.Path("500.kss"), "--format", "bytes"}).out;
    Sha256 hash;
    hash.Update(reinterpret_cast<const uint8_t*>(plan.data()), std::stoul(failed.at("bytes_sent")));
    EXPECT_EQ(failed.at("sent_sha256"), hash.FinishHex());

    VirtualModule next(folder, "next", "2x20");
    ASSERT_EQ(RunCli({"store", folder.Path("s.kss"), "--port", next.Port(), "--line", "2=SN {serial}", "--records", db})
                  .exitCode,
              0);
    records = Records(db);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].at("serial"), "501") << "a failed number is never handed out again";
}

TEST(Records, AServerLostPartWayLetsTheStoresFinishAndTheLogKeepsWhatTheRecordsCouldNot) {
    ScratchFolder folder;
    PostgresServer server(folder);
    ASSERT_EQ(RunCli({"new", "--geometry", "2x20", "-o", folder.Path("s.kss")}).exitCode, 0);
    TestPty first, second;
    CliProcess cli(folder, {"store", folder.Path("s.kss"), "--port", first.device, "--port", second.device, "--line",
                            "2=SN {serial}", "--records", server.uri, "--log", folder.Path("log")});
    ASSERT_EQ(first.Read(10).size(), 10u);
    Shell(std::string("'") + PG_CLUSTER + "' stop '" + folder.Path("pg") + "'");
    EXPECT_EQ(first.Read(120).size(), 120u);
    EXPECT_EQ(second.Read(130).size(), 130u);
    const CliResult result = cli.Wait();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("brevant-cli: 2 of 2 records could not be written (", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("; the log " + folder.Path("log") + " holds them\n"), std::string::npos) << result.err;
    const std::string log = ReadText(folder.Path("log"));
    EXPECT_NE(log.find("\tstored serial 1\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\tstored serial 2\n"), std::string::npos) << log;
}

TEST(Records, ADatabaseThatCannotBeUsedStopsTheRunBeforeAByteIsSent) {
    ScratchFolder folder;
    ASSERT_EQ(RunCli({"new", "--geometry", "2x20", "-o", folder.Path("s.kss")}).exitCode, 0);
    VirtualModule module(folder, "m", "2x20");

    const CliResult unreachable = RunCli({"store", folder.Path("s.kss"), "--port", module.Port(), "--records",
                                          "postgresql://postgres@/postgres?host=" + folder.Path("nothing")});
    EXPECT_EQ(unreachable.exitCode, 1);
    EXPECT_NE(unreachable.err.find(": cannot reach the records: "), std::string::npos) << unreachable.err;

    const std::string newer = folder.Path("newer.db");
    ASSERT_EQ(RunCli({"records", newer}).exitCode, 0);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(newer.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE brevant_schema SET version = 7", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const CliResult refused = RunCli({"store", folder.Path("s.kss"), "--port", module.Port(), "--records", newer});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "brevant-cli: " + newer + ": the records are of schema version 7, newer than this "
                                                     "brevant-cli knows (1): use a newer brevant-cli\n");

    // A file this user may not write, as the postgres user sees one of root's.
    const std::string locked = folder.Path("locked.db");
    ASSERT_EQ(RunCli({"records", locked}).exitCode, 0);
    chmod(folder.Path("").c_str(), 0755);
    chmod(locked.c_str(), 0444);
    const std::string asOther = Shell("runuser -u postgres -- '" + std::string(BREVANT_CLI) + "' store '" +
                                      folder.Path("s.kss") + "' --port '" + module.Port() + "' --records '" + locked +
                                      "' 2>&1; echo \" exit $?\"");
    EXPECT_NE(asOther.find(locked + ": cannot write the records: the file is read-only\n exit 1"), std::string::npos)
        << asOther;

    EXPECT_EQ(module.Received(), 0u) << "nothing was sent";
}

TEST(Records, AnSqliteFileLockedByAnotherBenchIsWaitedForABoundedTimeThenReported) {
    ScratchFolder folder;
    ASSERT_EQ(RunCli({"new", "--geometry", "2x20", "-o", folder.Path("s.kss")}).exitCode, 0);
    const std::string path = folder.Path("line.db");
    ASSERT_EQ(RunCli({"records", path}).exitCode, 0);
    VirtualModule module(folder, "m", "2x20");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const CliResult result = RunCli({"store", folder.Path("s.kss"), "--port", module.Port(), "--records", path});
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "brevant-cli: " + path + ": locked by another bench for more than 15 s\n");
    EXPECT_EQ(module.Received(), 0u);
}

}  // namespace
