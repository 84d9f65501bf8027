#pragma once
// The records' tables, the same on SQLite and PostgreSQL but for the types of the keys. A
// database of version v is brought up to date by the migrations to versions above v, in order.

inline constexpr const char* kSchemaTable = "CREATE TABLE IF NOT EXISTS brevant_schema (version INTEGER NOT NULL)";

struct Migration {
    int toVersion;
    const char* sqlite;
    const char* postgres;
};

inline constexpr Migration kMigrations[] = {
    {1, "CREATE TABLE serial_counter (id INTEGER PRIMARY KEY CHECK (id = 1), next_serial INTEGER NOT NULL)",
     "CREATE TABLE serial_counter (id INTEGER PRIMARY KEY CHECK (id = 1), next_serial BIGINT NOT NULL)"},
    {1, "CREATE TABLE stores (id INTEGER PRIMARY KEY AUTOINCREMENT, time_utc TEXT NOT NULL, bench TEXT NOT NULL, "
     "port TEXT NOT NULL, screen_file TEXT NOT NULL, screen_sha256 TEXT NOT NULL, serial INTEGER UNIQUE, "
     "sent_sha256 TEXT NOT NULL, bytes_sent INTEGER NOT NULL, bytes_total INTEGER NOT NULL, result TEXT NOT NULL, "
     "complete INTEGER NOT NULL)",
     "CREATE TABLE stores (id BIGSERIAL PRIMARY KEY, time_utc TEXT NOT NULL, bench TEXT NOT NULL, "
     "port TEXT NOT NULL, screen_file TEXT NOT NULL, screen_sha256 TEXT NOT NULL, serial BIGINT UNIQUE, "
     "sent_sha256 TEXT NOT NULL, bytes_sent INTEGER NOT NULL, bytes_total INTEGER NOT NULL, result TEXT NOT NULL, "
     "complete INTEGER NOT NULL)"},
};

inline constexpr const char* kRecordColumns =
    "id, time_utc, bench, port, screen_file, screen_sha256, serial, sent_sha256, bytes_sent, bytes_total, result, "
    "complete";
