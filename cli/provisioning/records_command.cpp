#include <nlohmann/json.hpp>

#include <cstdio>
#include <memory>

#include "cli/commands/commands.h"
#include "cli/provisioning/records.h"
#include "cli/support/file_access.h"
#include "cli/support/help_text.h"
#include "cli/support/option_checks.h"

namespace {

struct RecordsOptions {
    std::string database;
    std::string serial;
    std::string since;
    std::string bench;
    std::string format = "table";
};

std::string SerialText(const StoreRecord& r) { return r.serial ? std::to_string(*r.serial) : ""; }

std::string Table(const std::vector<StoreRecord>& records) {
    std::string text = "time                  bench            serial        port                  bytes     result\n";
    for (const StoreRecord& r : records) {
        char line[160];
        std::snprintf(line, sizeof line, "%-21s %-16s %-13s %-21s %4u/%-4u ", r.timeUtc.c_str(), r.bench.c_str(),
                      SerialText(r).c_str(), r.port.c_str(), r.bytesSent, r.bytesTotal);
        text += line + r.result + "\n";
    }
    return text;
}

std::string Json(const std::vector<StoreRecord>& records) {
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const StoreRecord& r : records) {
        all.push_back({{"time", r.timeUtc},
                       {"bench", r.bench},
                       {"port", r.port},
                       {"screenFile", r.screenFile},
                       {"screenSha256", r.screenSha256},
                       {"serial", r.serial ? nlohmann::ordered_json(*r.serial) : nlohmann::ordered_json()},
                       {"sentSha256", r.sentSha256},
                       {"bytesSent", r.bytesSent},
                       {"bytesTotal", r.bytesTotal},
                       {"result", r.result},
                       {"complete", r.complete}});
    }
    return all.dump(2) + "\n";
}

// RFC 4180: a field with a comma, a quote or a line break is quoted, its quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Csv(const std::vector<StoreRecord>& records) {
    std::string text = "time,bench,port,screen_file,screen_sha256,serial,sent_sha256,bytes_sent,bytes_total,result,"
                       "complete\r\n";
    for (const StoreRecord& r : records) {
        for (const std::string& field :
             {r.timeUtc, r.bench, r.port, r.screenFile, r.screenSha256, SerialText(r), r.sentSha256,
              std::to_string(r.bytesSent), std::to_string(r.bytesTotal), r.result, std::string(r.complete ? "1" : "0")}) {
            text += CsvField(field) + ",";
        }
        text.back() = '\r';
        text += "\n";
    }
    return text;
}

void RunRecords(const RecordsOptions& options) {
    RecordFilter filter;
    if (!options.serial.empty()) filter.serial = std::stoull(options.serial);
    filter.since = options.since;
    filter.bench = options.bench;
    const std::vector<StoreRecord> records = OpenRecords(options.database)->List(filter);
    const std::string text =
        options.format == "json" ? Json(records) : options.format == "csv" ? Csv(records) : Table(records);
    WriteOutput("", text);
}

}  // namespace

void AddRecordsCommand(CLI::App& app) {
    auto options = std::make_shared<RecordsOptions>();
    CLI::App* command = app.add_subcommand("records", "List what was stored in modules, from the production records");
    AddHelpFooter(*command, "brevant-cli records line.db --since 2026-12-09 --format csv");
    command->add_option("DB", options->database, "An SQLite file or a postgresql:// URI")->required();
    command->add_option("--serial", options->serial, "Only the module of this serial number")->check(kWholeNumber);
    command->add_option("--since", options->since, "Only stores at or after this UTC time, e.g. 2026-12-09T08:00")
        ->type_name("TIME");
    command->add_option("--bench", options->bench, "Only stores made on this bench")->type_name("NAME");
    command->add_option("--format", options->format, "table (the default), json or csv")
        ->check(CLI::IsMember({"table", "json", "csv"}))
        ->option_text("table|json|csv");
    command->callback([options] { RunRecords(*options); });
}
