// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation methods a tool can use for one loop, with the names and
// sources every table header, report and output shows
// (docs/method.md, "Two methods").

namespace zorva::method {

enum class Method {
    Program, // 本程序方法: one whole Calculate run (docs/method.md)
    En1264,  // EN 1264-2 type A with the EN 1264-3 design flow
};

// The name shown to users: "本程序方法" or "EN 1264-2" (UTF-8).
const char* methodName(Method method);

// Where the numbers come from, for a table header or a report line (UTF-8).
const char* methodClause(Method method);

// The key in project files, JSON and on the command line: "program" or
// "en1264".
const char* methodKey(Method method);

// The method of a key; false for any other text.
bool methodFromKey(const char* key, Method& out);

} // namespace zorva::method
