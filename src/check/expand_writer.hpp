#pragma once

#include <cstdint>
#include <string>

#include "check/check.hpp"

namespace tesmara::check {

// Writes the run as plain G-code while it happens: one block per motion with
// absolute numbers, and the tool, spindle, coolant and offset words in order.
class ExpandWriter {
public:
    explicit ExpandWriter(bool enabled) : m_enabled(enabled) {}

    bool enabled() const { return m_enabled; }
    void line(std::string_view text);
    // `axes`: X 1, Y 2, Z 4, the axes to write; an arc always has X and Y.
    void motion(const Segment& segment, std::uint8_t axes);
    std::string finish() const;

private:
    bool m_enabled;
    std::string m_body;
    Compensation m_compensation = Compensation::Off;
    int m_register = 0;
    double m_feed = -1.0;
};

}  // namespace tesmara::check
