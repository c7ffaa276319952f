#include "views/collab_state.hpp"

#include <orvo_ui/painter.hpp>

#include <algorithm>
#include <cmath>

#include "i18n/i18n.hpp"
#include "model/documents.hpp"

namespace files::views {

using namespace orvo_ui;

bool has_open_conflict(const model::FolderEntry& e) {
    if (!e.history) return false;
    return std::any_of(e.history->conflicts.begin(), e.history->conflicts.end(),
                       [](const auto& c) { return c.status == collab_types::ConflictStatus::Open; });
}

bool content_is_local(const model::FolderEntry& e) {
    if (e.availability) return e.availability->residency.state == model::ResidencyState::Resident;
    return e.sync == model::SyncState::Local || e.sync == model::SyncState::Unrecognised;
}

std::vector<std::string> collab_sentences(const model::FolderEntry& e) {
    std::vector<std::string> out;
    if (const auto* a = e.availability.get()) {
        const char* state = nullptr;
        if (a->transfer.last_error) state = "files-a11y-transfer-failed";
        else switch (a->transfer.phase) {
                case model::TransferPhase::Queued: state = "files-a11y-transfer-queued"; break;
                case model::TransferPhase::Downloading: state = "files-a11y-downloading"; break;
                case model::TransferPhase::Uploading: state = "files-a11y-uploading"; break;
                case model::TransferPhase::Verifying: state = "files-a11y-verifying"; break;
                case model::TransferPhase::Idle:
                    switch (a->residency.state) {
                        case model::ResidencyState::NotResident: state = "files-a11y-online-only"; break;
                        case model::ResidencyState::Partial: state = "files-a11y-partly-offline"; break;
                        case model::ResidencyState::Resident: state = "files-a11y-available-offline"; break;
                    }
                    break;
            }
        if (state) out.push_back(i18n::tr(state));
        if (a->policy == model::StoragePolicy::Pinned)
            out.push_back(i18n::tr(a->policy_inherited ? "files-a11y-kept-offline-parent" : "files-a11y-kept-offline"));
        if (!a->replicas.known) out.push_back(i18n::tr("files-a11y-replica-unknown"));
        else out.push_back(i18n::tr(a->replicas.durable > 0 ? "files-a11y-durably-replicated"
                                                            : "files-a11y-not-durably-replicated"));
    } else {
        switch (e.sync) {
            case model::SyncState::Local: out.push_back(i18n::tr("files-a11y-available-offline")); break;
            case model::SyncState::Projected: out.push_back(i18n::tr("files-a11y-online-only")); break;
            case model::SyncState::Downloading: out.push_back(i18n::tr("files-a11y-downloading")); break;
            case model::SyncState::Unrecognised: break;
        }
    }
    if (e.share)
        out.push_back(i18n::tr_args("files-a11y-shared-recipients",
                                    i18n::MessageArgs().set("count", model::active_grant_count(*e.share))));
    if (has_open_conflict(e)) out.push_back(i18n::tr("files-a11y-version-conflict"));
    return out;
}

namespace {

enum class Badge { None, Local, Pinned, OnlineOnly, Partial, Transfer, Failed };

Badge badge_of(const model::FolderEntry& e) {
    if (const auto* a = e.availability.get()) {
        if (a->transfer.last_error) return Badge::Failed;
        if (a->transfer.phase != model::TransferPhase::Idle) return Badge::Transfer;
        switch (a->residency.state) {
            case model::ResidencyState::NotResident: return Badge::OnlineOnly;
            case model::ResidencyState::Partial: return Badge::Partial;
            case model::ResidencyState::Resident:
                return a->policy == model::StoragePolicy::Pinned ? Badge::Pinned : Badge::Local;
        }
    }
    switch (e.sync) {
        case model::SyncState::Local: return Badge::Local;
        case model::SyncState::Projected: return Badge::OnlineOnly;
        case model::SyncState::Downloading: return Badge::Transfer;
        case model::SyncState::Unrecognised: return Badge::None;
    }
    return Badge::None;
}

}  // namespace

void draw_collab_badge(Painter& p, const Theme& th, const Rect& icon, const model::FolderEntry& e) {
    Badge b = badge_of(e);
    if (b == Badge::None) return;
    // Small icons carry it at the bottom-right; tiles at the top-right, clear of the label.
    bool tile = icon.width() > 30;
    float d = tile ? std::clamp(std::round(icon.width() * 0.3f), 12.0f, 22.0f) : std::max(9.0f, std::round(icon.width() * 0.5f));
    Rect c = tile ? Rect::from_xywh(icon.right - d * 0.7f, icon.top - d * 0.3f, d, d)
                  : Rect::from_xywh(icon.right - d * 0.75f, icon.bottom - d * 0.75f, d, d);
    Color green = Color::rgb(0x2e9d5b), blue = th.accent, red = th.danger, grey = Color::rgb(0x7b8494);
    Color ground = b == Badge::Failed ? red : b == Badge::Transfer ? blue : b == Badge::OnlineOnly ? grey : green;
    // A ring in the window colour keeps the badge legible over thumbnails.
    p.fill_ellipse(c.inset(-1.5f, -1.5f), th.window);
    p.fill_ellipse(c, ground);
    const Color ink = Color::rgb(0xffffff);
    float w = std::max(1.2f, d / 8);
    auto at = [&](float x, float y) { return Point{c.left + x * d, c.top + y * d}; };
    switch (b) {
        case Badge::Local:
        case Badge::Pinned: {
            Point pts[] = {at(0.28f, 0.52f), at(0.44f, 0.68f), at(0.72f, 0.36f)};
            p.polyline(pts, 3, ink, w);
            if (b == Badge::Pinned) p.stroke_ellipse(c.inset(-1.5f, -1.5f), green, 1);
            break;
        }
        case Badge::OnlineOnly: {
            // A small cloud.
            p.fill_ellipse(Rect{c.left + 0.2f * d, c.top + 0.42f * d, c.left + 0.5f * d, c.top + 0.68f * d}, ink);
            p.fill_ellipse(Rect{c.left + 0.36f * d, c.top + 0.3f * d, c.left + 0.68f * d, c.top + 0.62f * d}, ink);
            p.fill_rounded_rect(Rect{c.left + 0.26f * d, c.top + 0.5f * d, c.left + 0.8f * d, c.top + 0.7f * d},
                                0.1f * d, ink);
            break;
        }
        case Badge::Partial: p.fill_polygon(std::array{at(0.5f, 0.2f), at(0.5f, 0.8f), at(0.2f, 0.5f)}.data(), 3, ink); break;
        case Badge::Transfer: {
            p.line(at(0.5f, 0.24f), at(0.5f, 0.72f), ink, w);
            Point head[] = {at(0.3f, 0.52f), at(0.5f, 0.74f), at(0.7f, 0.52f)};
            p.polyline(head, 3, ink, w);
            break;
        }
        case Badge::Failed:
            p.line(at(0.5f, 0.24f), at(0.5f, 0.58f), ink, w);
            p.fill_ellipse(Rect::from_xywh(c.left + 0.5f * d - w * 0.7f, c.top + 0.7f * d, w * 1.4f, w * 1.4f), ink);
            break;
        case Badge::None: break;
    }
}

}  // namespace files::views
