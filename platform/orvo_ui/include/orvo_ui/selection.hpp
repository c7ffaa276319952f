#pragma once
// Which entries are selected, which one has the focus, and where a Shift range starts.
#include <cstddef>
#include <optional>
#include <vector>

namespace orvo_ui::selection {

class SelectionModel {
public:
    // Selected indices in the order they were selected.
    const std::vector<std::size_t>& selected() const { return selected_; }
    std::optional<std::size_t> focus() const { return focus_; }
    std::optional<std::size_t> anchor() const { return anchor_; }
    bool is_selected(std::size_t i) const;
    bool empty() const { return selected_.empty(); }

    // Plain: only this one. Primary: toggle it. Shift: the range from the anchor (replacing the
    // selection, or added to it with Primary too). The focus follows the click.
    void apply_click(std::size_t index, bool primary, bool shift);
    // Keyboard focus move; with extend the selection becomes the range from the anchor.
    void move_to(std::size_t index, bool extend);
    void select_only(std::size_t index);
    void select_all(std::size_t count);
    void clear();
    // Replaces the whole state (after a refresh re-found the entries).
    void set(std::vector<std::size_t> selected, std::optional<std::size_t> focus);

    friend bool operator==(const SelectionModel&, const SelectionModel&) = default;

private:
    void select_range(std::size_t from, std::size_t to, bool add);
    std::vector<std::size_t> selected_;
    std::optional<std::size_t> focus_;
    std::optional<std::size_t> anchor_;
};

}  // namespace orvo_ui::selection
