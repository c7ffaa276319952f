#include <orvo_ui/diag.hpp>

#include <unistd.h>

#include <cstdlib>

#include "files_app/app_id.hpp"
#include "i18n/i18n.hpp"
#include "main/app_main.hpp"
#include "main/share_link.hpp"

namespace files::startup {

namespace {

const std::vector<std::string> kScenarios = {
    "archive", "archive-menu", "context-menu", "dropmove", "error", "grid", "history",
    "loading", "menu", "pindrag", "places", "remote-account", "rename", "reorder",
    "select", "status", "sync", "thumbnails", "thumbnails-fs", "undo-trash",
};

// Admission by the received-file service; until that client exists every link that passes
// the checks is reported as not available.
std::expected<std::pair<std::optional<std::filesystem::path>, bool>, std::string_view> admit_share_link(
    const std::string&) {
    return std::unexpected("files-received-not-available");
}

}  // namespace

orvo_ui::launch::LaunchDescriptor descriptor() {
    orvo_ui::launch::LaunchDescriptor d;
    d.app_id = std::string(app::kAppId);
    d.value_options = {"--size", "--path"};
    d.flag_options = {"--open-share-stdin"};
    d.scenario_names = kScenarios;
    d.history_mode = {std::string(app::kAppId), {{"selected-file", "Selected file"}}};
    d.build = build_app;
    d.render_shot = render_shot;
    d.default_size = {1280, 800};
    d.predicate = [] { return true; };
    d.open_persisted_document = open_persisted_document;
    d.switches = {false, false, true, true};
    return d;
}

std::expected<std::unique_ptr<app::FileExplorerWidget>, LaunchError> build_root(const LaunchArgs& args, int stdin_fd) {
    std::optional<std::expected<std::pair<std::optional<std::filesystem::path>, bool>, std::string_view>> share;
    if (has_share_stdin_flag(args.raw())) {
        auto link = read_share_link(stdin_fd);
        if (!link) share = std::unexpected(link.error());
        else share = admit_share_link(*link);
    }
    auto root = app::FileExplorerWidget::create(app::StartupMode::Window);
    if (!share) {
        if (!args.positional().empty()) {
            const std::string& arg = args.positional().front();
            if (arg.empty()) return std::unexpected(LaunchError{"cannot make an empty path absolute"});
            std::error_code ec;
            auto abs = std::filesystem::absolute(arg, ec);
            if (ec) return std::unexpected(LaunchError{ec.message()});
            root->navigate_to(abs);
        }
    } else if (!*share) {
        root->set_status(i18n::tr(share->error()));
    } else if (!(*share)->first) {
        root->set_status(i18n::tr("files-received-admitted"));
    } else {
        root->navigate_to(*(*share)->first);
        root->set_status(i18n::tr((*share)->second ? "files-received-file" : "files-received-mount-starting"));
    }
    return root;
}

std::expected<std::unique_ptr<orvo_ui::Widget>, LaunchError> build_app(const LaunchArgs& args) {
    auto root = build_root(args, STDIN_FILENO);
    if (!root) return std::unexpected(root.error());
    return std::unique_ptr<orvo_ui::Widget>(std::move(*root));
}

std::string choose_author_name(const char* zemra_app_id, const char* orvo_user_id, std::string_view author_hex) {
    if (zemra_app_id && *zemra_app_id) return zemra_app_id;
    if (orvo_user_id && *orvo_user_id) return std::string("files-") + orvo_user_id;
    return "files-" + std::string(author_hex.substr(0, 12));
}

std::unique_ptr<orvo_ui::persist::Document> open_persisted_document() {
    auto doc = orvo_ui::persist::open(app::kAppId);
    std::string name = choose_author_name(std::getenv("ZEMRA_APP_ID"), std::getenv("ORVO_USER_ID"), doc->author_hex());
    orvo_ui::diag::write_line(std::string(app::kAppName) + ": using " + name + " as the actor of the UI document");
    doc->set_author_id(std::vector<std::uint8_t>(name.begin(), name.end()));
    return doc;
}

}  // namespace files::startup
