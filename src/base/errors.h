#pragma once

#include <stdexcept>
#include <string>

namespace lintora {

// Failures that end a comparison run. Modules throw them; the run catches them in one place
// and turns each kind into its message for the user.
class RunFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input, swap or scratch file that does not exist or cannot be opened for reading.
class FileNotFound : public RunFailure {
public:
    explicit FileNotFound(const std::string& path)
        : RunFailure("file not found: " + path), m_path(path) {}
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// A table of the limits record overran (too many nets, pins, parts or swap pairs).
class CapacityExceeded : public RunFailure {
public:
    explicit CapacityExceeded(const std::string& what)
        : RunFailure("capacity exceeded: " + what), m_table(what) {}
    // Which table overran ("side table", "pins of a side", ...).
    const std::string& table() const { return m_table; }

private:
    std::string m_table;
};

// A file that could not be written completely (disk full, no permission, read-only file).
class WriteFailed : public RunFailure {
public:
    explicit WriteFailed(const std::string& path)
        : RunFailure("could not write: " + path), m_path(path) {}
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// An input whose bytes are neither UTF-8 nor Shift_JIS (CP932) text.
class UndecodableInput : public RunFailure {
public:
    explicit UndecodableInput(const std::string& path)
        : RunFailure("neither UTF-8 nor CP932: " + path), m_path(path) {}
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// The report is too large for the result box (it is complete in cmp.txt).
class ResultTooLarge : public RunFailure {
public:
    ResultTooLarge() : RunFailure("report too large for the result box") {}
};

} // namespace lintora
