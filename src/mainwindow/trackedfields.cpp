#include "mainwindow/trackedfields.h"

#include <utility>

namespace vorta {

std::optional<QString> TrackedFields::offer(TrackedField field, const QString &value, const QString &current,
                                            bool focused)
{
    State &state = m_states[std::size_t(field)];
    if (!isTrackings(state, current)) {
        state.waiting.reset();
        return std::nullopt;
    }
    if (focused) {
        state.waiting = value;
        return std::nullopt;
    }
    state.waiting.reset();
    state.written = value;
    // Written again unchanged, the field would lose the operator's cursor position for nothing.
    if (value == current)
        return std::nullopt;
    return value;
}

std::optional<QString> TrackedFields::left(TrackedField field, const QString &current)
{
    State &state = m_states[std::size_t(field)];
    const std::optional<QString> waiting = std::exchange(state.waiting, std::nullopt);
    if (!waiting || !isTrackings(state, current))
        return std::nullopt;
    return offer(field, *waiting, current, false);
}

void TrackedFields::giveBack(TrackedField field, const QString &current)
{
    State &state = m_states[std::size_t(field)];
    state.written = current;
    state.waiting.reset();
}

} // namespace vorta
