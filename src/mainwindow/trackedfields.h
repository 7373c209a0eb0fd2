// The entry fields that tracking fills besides the satellite: the two frequencies and the two
// modes. Tracking writes into such a field only while the field is tracking's: it holds what
// tracking last wrote there (or nothing), and the cursor is not in it. A field the operator has
// typed into is theirs, so the QSO is logged with what they typed (the real frequency of a
// linear transponder, say), until another satellite gives the fields back to tracking.
#pragma once

#include <QString>

#include <array>
#include <optional>

namespace vorta {

enum class TrackedField { Uplink, Downlink, UplinkMode, DownlinkMode };
inline constexpr std::array<TrackedField, 4> kTrackedFields{TrackedField::Uplink, TrackedField::Downlink,
                                                            TrackedField::UplinkMode, TrackedField::DownlinkMode};

class TrackedFields
{
public:
    // Tracking has value for the field, which now holds current, with the cursor in it or not:
    // the text to write, or nothing when the field is not tracking's now or already holds the
    // value. A value held back for the cursor is written when the cursor leaves (left()).
    std::optional<QString> offer(TrackedField field, const QString &value, const QString &current, bool focused);
    // The cursor left the field, which holds current: the value held back meanwhile, when the
    // field is still tracking's.
    std::optional<QString> left(TrackedField field, const QString &current);
    // Another satellite: tracking takes the field back as it now stands.
    void giveBack(TrackedField field, const QString &current);

private:
    struct State
    {
        QString written;               // what tracking last wrote, or the field when given back
        std::optional<QString> waiting; // a value held back while the cursor was in the field
    };
    bool isTrackings(const State &state, const QString &current) const
    {
        return current.isEmpty() || current == state.written;
    }

    std::array<State, kTrackedFields.size()> m_states;
};

} // namespace vorta
