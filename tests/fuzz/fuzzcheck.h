// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every harness shares: FUZZ_CHECK, which aborts with a message (libFuzzer keeps the input, the
// replay test fails), and the offscreen application the sheets measure text with.

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace tovanel::fuzz {

/// Collects the message of a failed check and aborts when the statement ends.
class Failure {
public:
    Failure(const char* file, int line, const char* condition)
    {
        m_out << file << ':' << line << ": " << condition << " does not hold";
    }
    Failure(const Failure&) = delete;
    Failure& operator=(const Failure&) = delete;
    ~Failure()
    {
        std::fprintf(stderr, "%s\n", m_out.str().c_str());
        std::abort();
    }
    template <class T>
    Failure& operator<<(const T& v)
    {
        m_out << v;
        return *this;
    }
    Failure& operator<<(const QString& v) { return *this << v.toStdString(); }

private:
    std::ostringstream m_out;
};

/// The input as a byte array.
inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

/// Equal to the last bit (NaN equals NaN, 0 differs from -0).
inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

/// One application for the whole run, on the offscreen platform, with the sheet fonts mapped.
void EnsureGuiApplication();

/// A folder for the files of one run, on a memory file system when there is one.
QString ScratchFolder();

}  // namespace tovanel::fuzz

/// FUZZ_CHECK(condition) << "context": aborts with the message when the condition is false.
#define FUZZ_CHECK(condition) \
    if (condition) {          \
    } else                    \
        ::tovanel::fuzz::Failure(__FILE__, __LINE__, #condition) << ": "

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
