#include <orvo_ui/selection.hpp>

#include <algorithm>

namespace orvo_ui::selection {

bool SelectionModel::is_selected(std::size_t i) const {
    return std::find(selected_.begin(), selected_.end(), i) != selected_.end();
}

void SelectionModel::select_only(std::size_t index) {
    selected_ = {index};
    focus_ = anchor_ = index;
}

void SelectionModel::select_range(std::size_t from, std::size_t to, bool add) {
    if (!add) selected_.clear();
    // Walk from the anchor towards the target so the order reads the way the user swept.
    std::size_t step_count = from <= to ? to - from : from - to;
    for (std::size_t k = 0; k <= step_count; ++k) {
        std::size_t i = from <= to ? from + k : from - k;
        if (!is_selected(i)) selected_.push_back(i);
    }
}

void SelectionModel::apply_click(std::size_t index, bool primary, bool shift) {
    if (shift) {
        std::size_t from = anchor_.value_or(focus_.value_or(index));
        select_range(from, index, primary);
        anchor_ = from;
        focus_ = index;
        return;
    }
    if (primary) {
        if (auto it = std::find(selected_.begin(), selected_.end(), index); it != selected_.end()) selected_.erase(it);
        else selected_.push_back(index);
        focus_ = anchor_ = index;
        return;
    }
    select_only(index);
}

void SelectionModel::move_to(std::size_t index, bool extend) {
    if (!extend) {
        select_only(index);
        return;
    }
    std::size_t from = anchor_.value_or(focus_.value_or(index));
    select_range(from, index, false);
    anchor_ = from;
    focus_ = index;
}

void SelectionModel::select_all(std::size_t count) {
    selected_.clear();
    for (std::size_t i = 0; i < count; ++i) selected_.push_back(i);
    if (count == 0) {
        focus_.reset();
        anchor_.reset();
    }
}

void SelectionModel::clear() {
    selected_.clear();
    focus_.reset();
    anchor_.reset();
}

void SelectionModel::set(std::vector<std::size_t> selected, std::optional<std::size_t> focus) {
    selected_ = std::move(selected);
    focus_ = focus;
    anchor_ = focus;
}

}  // namespace orvo_ui::selection
