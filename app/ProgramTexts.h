// Texts the program shows from more than one place. A text said in one place only stays beside
// the code that says it.
#pragma once

inline constexpr char kProductName[] = "Tarvexa Ripplecast";
inline constexpr char kPauseFirst[] = "Pause the downloading first!";
inline constexpr char kInvalidInput[] = "Invalid input!";
// A URL or destination longer than the engine's fields: refused, never cut.
inline constexpr char kUrlTooLong[] = "The URL is too long!";
inline constexpr char kPathTooLong[] = "The path is too long!";
inline constexpr char kBrokenLibrary[] = "The dll file is broken!";
inline constexpr char kWarningCaption[] = "Warning";
// Where the add dialog proposes to save, and where its folder chooser opens.
inline constexpr char kDefaultDestFolder[] = "C:\\MyDownloads";
