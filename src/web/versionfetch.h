#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// How long and how much the update check may wait for and read.
struct FetchLimits
{
    int timeoutMs = 5000;
    qint64 maxBytes = 64 * 1024;
    int maxRedirects = 3;
};

// The body of a successful HTTP answer, one character per byte, or nothing when the server
// cannot be reached, answers with an error, sends more than the limit (head and body together),
// redirects too often or to another server, or does not finish in time, the proxy lookup
// included. Waits in a local event loop that keeps the windows painted but holds back user
// input, so nothing can be started while the answer is pending.
std::optional<QString> fetchVersionText(const QUrl &address, const FetchLimits &limits = {});

// Ends the program with this code. Qt waits for a proxy lookup given up on when the program
// ends, and one fetching an automatic configuration script from a silent server never ends:
// while one runs, the program ends without Qt's cleanup.
int endProgram(int exitCode);
