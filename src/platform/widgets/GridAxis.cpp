#include "platform/widgets/GridAxis.h"

#include <algorithm>

int GridAxis::fixedExtent() const
{
    int extent = 0;
    for (int i = 0; i < fixed && i < count(); ++i)
        extent += sizes[i] + lineAfter(i);
    return extent;
}

int GridAxis::start(int index, int client) const
{
    if (index < 0 || index >= count())
        return -1;
    int position = 0;
    if (index < fixed) {
        for (int i = 0; i < index; ++i)
            position += sizes[i] + lineAfter(i);
    } else {
        if (index < first)
            return -1;
        position = fixedExtent();
        for (int i = first; i < index && position < client; ++i)
            position += sizes[i] + lineAfter(i);
    }
    return position < client ? position : -1;
}

int GridAxis::indexAt(int position, int client) const
{
    if (position < 0 || position >= client)
        return -1;
    int edge = 0;
    for (int i = 0; i < fixed && i < count(); ++i) {
        edge += sizes[i] + lineAfter(i);
        if (position < edge)
            return i;
    }
    for (int i = first; i < count(); ++i) {
        edge += sizes[i] + lineAfter(i);
        if (position < edge)
            return i;
    }
    return -1;
}

bool GridAxis::span(int from, int to, int client, int &begin, int &end) const
{
    bool found = false;
    for (int i = std::max(from, 0); i <= to && i < count(); ++i) {
        const int position = start(i, client);
        if (position < 0)
            continue;
        if (!found)
            begin = position;
        end = position + sizes[i];
        found = true;
    }
    return found;
}

int GridAxis::visibleCount(int client) const
{
    int visible = 0;
    for (int i = first; i < count() && start(i, client) >= 0; ++i)
        ++visible;
    return visible;
}

int GridAxis::maxFirst(int client) const
{
    const int room = client - fixedExtent();
    int used = 0;
    int result = count() - 1;
    for (int i = count() - 1; i >= fixed; --i) {
        used += sizes[i] + lineAfter(i);
        if (used > room)
            break;
        result = i;
    }
    return std::max(result, fixed);
}

int GridAxis::clampFirst(int value, int client) const
{
    return std::clamp(value, fixed, std::max(fixed, maxFirst(client)));
}
