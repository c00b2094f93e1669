// A RealMedia RTSP server for the tests, on a FixtureServer connection: answers OPTIONS, DESCRIBE
// (with the description of a real file, optionally after asking for RN5 digest authorization),
// one SETUP per stream, SET_PARAMETER and PLAY, then sends the file's units interleaved from the
// PLAY range on, and the end unit.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "FixtureServer.h"
#include "RmFile.h"

struct RmRtspOptions {
    // Replaces the reply to the first DESCRIBE (a 401, a REDIRECT, a refusal).
    std::string firstDescribeReply;
    // Sends this much of the units (before the end unit), then closes: a broken download.
    size_t unitLimit = static_cast<size_t>(-1);
    // Units from this one (its index in the stream) on are not sent: the same break, at a place
    // of the stream whatever the range asked.
    size_t unitsUpTo = static_cast<size_t>(-1);
    // At the limit, stays silent until the client goes (a client killed there) instead of closing.
    bool stallAtLimit = false;
    // Where the units start against the PLAY range: later (a server that skips ahead), earlier
    // (back to a key frame, say), or from the first unit whatever the range says.
    int32_t rangeShiftMs = 0;
    bool ignoreRange = false;
    // This unit (its index in the stream) is sent twice in a row.
    size_t repeatUnit = static_cast<size_t>(-1);
    // Sends this many units from the PLAY range on, then the end unit: a stream that ends early.
    size_t endAfterUnits = static_cast<size_t>(-1);
    // Bytes sent between units, after unit messageAfter (a request of the server, a reply).
    std::string message;
    size_t messageAfter = 0;
    // Called with every request head the server gets.
    std::function<void(const std::string&)> onRequest;
};

// One connection of the server; each reply carries the CSeq of its request.
void AddRmRtspScript(FixtureServer& server, const RmServerStream& stream, const RmRtspOptions& options = {});

// What a request's "CSeq:" line says; empty when none.
std::string CSeqOf(const std::string& head);
