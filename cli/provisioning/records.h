#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One module's store as the records keep it.
struct StoreRecord {
    int64_t id = 0;
    std::string timeUtc;  // 2026-12-09T18:20:01Z
    std::string bench;
    std::string port;
    std::string screenFile;
    std::string screenSha256;
    std::optional<uint64_t> serial;
    std::string sentSha256;
    uint32_t bytesSent = 0;
    uint32_t bytesTotal = 0;
    std::string result;  // as the report line says it; "allocated" until the store is over
    bool complete = false;
};

struct RecordFilter {
    std::optional<uint64_t> serial;
    std::string since;  // records at or after this UTC time, as written in them
    std::string bench;
};

inline constexpr int kRecordsSchemaVersion = 1;

// The production records every bench shares: an SQLite file, or a PostgreSQL server for a
// postgresql:// URI. Every failure throws CommandFailure naming the database and the reason.
class Records {
public:
    virtual ~Records() = default;

    // The next free serial number, at least `seriesStart` for a new series, handed out with its
    // record in one transaction: no two stores anywhere ever get the same number.
    virtual uint64_t Allocate(uint64_t seriesStart, StoreRecord& record) = 0;
    // A record of a store without a serial number.
    virtual void Add(StoreRecord& record) = 0;
    // The record `record.id` as the store ended.
    virtual void Finish(const StoreRecord& record) = 0;
    virtual std::vector<StoreRecord> List(const RecordFilter& filter) = 0;
};

// Opens or creates the records, upgrading an older schema; a newer one is refused.
std::unique_ptr<Records> OpenRecords(const std::string& where);
