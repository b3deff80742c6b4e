#pragma once
// The update record, for whoever supports the printers: every update attempt,
// step by step, from Update on, as lines appended to the UTF-8 text file
// %LOCALAPPDATA%\<company>\VR38Update\VR38Update.log (the company as the
// profile's key names it, string 1010, less the final dot Windows drops from
// a folder's name; the folders are made on the first write).
//
// A line is the local time in ISO 8601 with its offset from UTC, then
// key=value fields, the event's name first:
//   2026-12-09T14:03:27+01:00 event=check check=model result=passed
// A value is written bare unless it is empty or holds a space, a double
// quote, a backslash or a control character; such a value is put in double
// quotes, inside which \" stands for a quote, \\ for a backslash and \xHH for
// the control character of that hexadecimal code. Names are written as the
// user sees them, converted from the ANSI code page.
//
// The record never changes the update: it is written on the user-interface
// thread between the steps, never while the transfer runs, and a line that
// cannot be written (no local application-data folder, a read-only, locked
// or full file) is dropped without a word. Each line is appended whole with
// one write, so two copies of the program never mix theirs; a line that
// would take the file past 1 MiB begins a new one, the old one becoming
// VR38Update.log.1 (in place of the one before).

#include <cstdint>
#include <optional>
#include <string>

#include "channel/printer_channel.h"
#include "transfer/firmware_file.h"

// The steps whose outcome the record names.
inline constexpr const char* RECORD_CHECK_DATA_FILE = "data-file";  // the data file opens
inline constexpr const char* RECORD_CHECK_TRANSFER_LIBRARY = "transfer-library";
inline constexpr const char* RECORD_CHECK_MODEL = "model";
inline constexpr const char* RECORD_CHECK_SYSTEM = "system";

class UpdateRecord {
public:
    // Update pressed: the program's version, the printer the commands go to
    // (ANSI) and the printer id its status and the data file must carry.
    void Update(const std::string& printer, std::uint16_t printerId);
    // The identification bytes of the printer's status reply, or no reply.
    void Identification(const std::optional<StatusReply>& status);
    // A step's outcome, returned as given, so that the step reads in its place.
    bool Check(const char* check, bool passed);
    // The firmware version the printer reported, "unknown", or the query unsent.
    void Version(const VersionExchange& exchange);
    // The user's answer to the confirmation, returned as given.
    int Answer(int answer);
    // A job file's header as the update reads it: its declared data length
    // and printer id, or that it could not be read.
    void Header(const FirmwareHeader& header);
    void HeaderUnreadable();
    // Around the modal progress dialog: the library's result code and the
    // time in between.
    void TransferStarts();
    void TransferEnded(std::int32_t result);
    // The message shown: a string resource by its number, a literal text by
    // its name (not-the-model, data-file-not-found, ...).
    void Message(int stringId);
    void Message(const char* name);

private:
    std::uint64_t m_transferStart = 0;
};
