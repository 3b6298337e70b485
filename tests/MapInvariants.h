// The map area's invariants, checked after the random edits of the map and editor tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "Game/MapArea.h"

template <typename List, typename T>
inline int Occurrences(const List& list, const T* item)
{
    return static_cast<int>(std::count(list.begin(), list.end(), item));
}

// Every element reachable from the map's lists must be one the map still holds.
inline void ExpectMapInvariants(const MapArea& map)
{
    std::set<const MapElement*> live;
    for (const Vertex* v : map.GetVertexes()) ASSERT_TRUE(live.insert(v).second) << "vertex listed twice";
    for (const Linedef* l : map.GetLinedefs()) ASSERT_TRUE(live.insert(l).second) << "linedef listed twice";
    for (const MapObject* o : map.GetObjects()) ASSERT_TRUE(live.insert(o).second) << "object listed twice";

    for (const Linedef* l : map.GetLinedefs()) {
        ASSERT_TRUE(live.count(l->start) && live.count(l->end)) << "linedef on a destroyed vertex";
        if (l->start == l->end) {
            EXPECT_EQ(Occurrences(l->start->linedefs, l), 2);
        } else {
            EXPECT_EQ(Occurrences(l->start->linedefs, l), 1);
            EXPECT_EQ(Occurrences(l->end->linedefs, l), 1);
        }
    }
    for (const Vertex* v : map.GetVertexes()) {
        for (const Linedef* l : v->linedefs) {
            ASSERT_TRUE(live.count(l)) << "vertex lists a destroyed linedef";
            EXPECT_TRUE(l->start == v || l->end == v);
        }
    }

    for (const MapElement* e : map.GetHighlighted()) ASSERT_TRUE(live.count(e)) << "destroyed element highlighted";
    std::set<const MapElement*> selected;
    for (const MapElement* e : map.GetSelection()) {
        ASSERT_TRUE(live.count(e)) << "destroyed element selected";
        EXPECT_TRUE(e->selected);
        EXPECT_TRUE(selected.insert(e).second) << "selected twice";
    }
    int flagged = 0;
    for (const MapElement* e : live) flagged += e->selected ? 1 : 0;
    EXPECT_EQ(flagged, static_cast<int>(selected.size()));
    EXPECT_EQ(map.SelectedCount(), static_cast<int>(selected.size()));
}
