#pragma once

#include <QtGlobal>

#include <functional>

// Told now and then how far long work has come: fait out of total, in a unit
// of the work's own (lines, characters, albums, files). Empty when nobody
// listens.
using Avancement = std::function<void(qint64 fait, qint64 total)>;

// How often work reports: every this many lines, albums or files.
constexpr int pasAvancement = 4096;
