#pragma once

// The program's own error numbers, as its messages show them ("Fehler 3021"). They keep the numbers
// the Jet engine and the Basic runtime gave the same failures, so that a player's report reads alike.
namespace core::errors {

inline constexpr int kCancelled = 1;                // the player stopped a long step
inline constexpr int kInvalidArgument = 5;          // a call with an argument it cannot use
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceUnavailable = 68;       // a drive or folder that does not answer
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPastEndOfFile = 62;           // a file ends before a line it must have
inline constexpr int kFileAccess = 75;              // a file could not be read or written
inline constexpr int kPathNotFound = 76;
inline constexpr int kNoCurrentRecord = 3021;       // a name or number the catalogue does not know
inline constexpr int kQueryCancelled = 3059;
inline constexpr int kQueryWrites = 3065;           // a condition that would change data
inline constexpr int kSyntaxError = 3075;
inline constexpr int kNotADatabase = 3078;
inline constexpr int kUndefinedFunction = 3085;
inline constexpr int kTextAfterStatement = 3142;
inline constexpr int kRecordChanged = 3167;         // a row is no longer as a step left it
inline constexpr int kItemNotFound = 3265;          // no such column
inline constexpr int kTooComplex = 3360;
inline constexpr int kObjectClosed = 3420;          // a connection or record set used after closing

} // namespace core::errors
