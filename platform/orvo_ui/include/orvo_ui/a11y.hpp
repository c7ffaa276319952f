#pragma once
#include <orvo_ui/geometry.hpp>

#include <string>
#include <vector>

namespace orvo_ui::a11y {

enum class Role { Application, Window, Panel, List, ListItem, Table, Row, Cell, Button, Label, TextInput, Dialog,
                  Menu, MenuItem, Toolbar, StatusBar, ProgressIndicator, Image, Group, Tree, TreeItem };

struct States {
    bool focused = false;
    bool focusable = false;
    bool selected = false;
    bool selectable = false;
    bool busy = false;
    bool disabled = false;
    bool expanded = false;
    bool checked = false;
};

// One node of the accessibility tree a widget reports; exported to AT-SPI by the toolkit.
struct AccessNode {
    std::string id;
    Role role = Role::Group;
    std::string name;
    std::string description;
    std::string value;
    States states;
    Rect bounds;
    std::vector<std::string> actions;  // e.g. "activate"
    std::vector<AccessNode> children;
};

}  // namespace orvo_ui::a11y
