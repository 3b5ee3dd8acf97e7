#include "win/gadget_rows.h"

#include <algorithm>

namespace quarnel {

namespace {

// Gadgets whose tops differ by less than this stand in one row: a label beside its field
// sits a few pixels lower or higher.
constexpr int kRowTolerance = 10;

bool Holds(const GadgetSpec& frame, const GadgetSpec& g) {
    return g.x >= frame.x && g.y >= frame.y && g.x < frame.x + frame.width &&
           g.y < frame.y + frame.height;
}

void SortAsRead(std::span<const GadgetSpec> gadgets, std::vector<size_t>& items) {
    std::stable_sort(items.begin(), items.end(),
                     [&](size_t a, size_t b) { return gadgets[a].y < gadgets[b].y; });
    for (auto row = items.begin(); row != items.end();) {
        const int top = gadgets[*row].y;
        const auto end = std::find_if(
            row, items.end(), [&](size_t i) { return gadgets[i].y - top >= kRowTolerance; });
        std::stable_sort(row, end, [&](size_t a, size_t b) { return gadgets[a].x < gadgets[b].x; });
        row = end;
    }
}

} // namespace

std::vector<size_t> ScreenOrder(std::span<const GadgetSpec> gadgets) {
    const size_t none = gadgets.size();
    std::vector<size_t> frameOf(gadgets.size(), none);
    for (size_t i = 0; i < gadgets.size(); ++i) {
        if (gadgets[i].kind == GadgetKind::Frame) {
            continue;
        }
        for (size_t f = 0; f < gadgets.size(); ++f) {
            const GadgetSpec& frame = gadgets[f];
            if (frame.kind == GadgetKind::Frame && Holds(frame, gadgets[i]) &&
                (frameOf[i] == none ||
                 frame.width * frame.height <
                     gadgets[frameOf[i]].width * gadgets[frameOf[i]].height)) {
                frameOf[i] = f;
            }
        }
    }
    std::vector<size_t> groups;
    for (size_t i = 0; i < gadgets.size(); ++i) {
        if (frameOf[i] == none) {
            groups.push_back(i);
        }
    }
    SortAsRead(gadgets, groups);
    std::vector<size_t> order;
    order.reserve(gadgets.size());
    for (const size_t head : groups) {
        order.push_back(head);
        std::vector<size_t> content;
        for (size_t i = 0; i < gadgets.size(); ++i) {
            if (frameOf[i] == head) {
                content.push_back(i);
            }
        }
        SortAsRead(gadgets, content);
        order.insert(order.end(), content.begin(), content.end());
    }
    return order;
}

} // namespace quarnel
