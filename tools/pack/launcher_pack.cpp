#include "pack/launcher_pack.h"

#include <algorithm>
#include <set>

#include "common/splitting.h"
#include "launcher/embedded_settings.h"
#include "pack/manifest_level.h"
#include "pack/resource_section.h"
#include "resource_ids.h"

namespace {

constexpr std::uint16_t kApplicationIcon = IDI_APPLICATION_ICON;
constexpr std::uint16_t kVersionRecordName = 1;
constexpr std::uint16_t kProcessManifest = 1;
constexpr std::uint16_t kNeutralLanguage = 0;

bool named(const Resource& r, std::uint16_t type, std::uint16_t name) { return r.is(type) && r.name == ResourceKey(name); }

// The language the launcher gave a resource, so that a replacement keeps it.
std::uint16_t languageOf(const ResourceList& resources, const ResourceKey& type, const ResourceKey& name) {
    const auto found = std::find_if(resources.begin(), resources.end(),
                                    [&](const Resource& r) { return r.type == type && r.name == name; });
    return found == resources.end() ? kNeutralLanguage : found->language;
}

// Every language of the resource is replaced by one.
void replaceResource(ResourceList& resources, ResourceKey type, ResourceKey name, Bytes data) {
    const std::uint16_t language = languageOf(resources, type, name);
    std::erase_if(resources, [&](const Resource& r) { return r.type == type && r.name == name; });
    resources.push_back({std::move(type), std::move(name), language, 0, std::move(data)});
}

std::set<std::uint16_t> iconsListedBy(const ResourceList& resources, bool applicationGroup) {
    std::set<std::uint16_t> ids;
    for (const Resource& r : resources) {
        if (r.is(kIconGroupType) && named(r, kIconGroupType, kApplicationIcon) == applicationGroup) {
            for (std::uint16_t id : iconGroupIds(r.data)) ids.insert(id);
        }
    }
    return ids;
}

// The old images of group 128 go (unless another group shows them too); the
// new ones take the lowest free ids, so a second packing picks the same ids.
// False when the image has too few free ids left.
bool replaceApplicationIcon(ResourceList& resources, const std::vector<IconImage>& images) {
    const std::uint16_t language = languageOf(resources, kIconGroupType, kApplicationIcon);
    const auto oldImages = iconsListedBy(resources, true);
    const auto sharedImages = iconsListedBy(resources, false);
    std::erase_if(resources, [&](const Resource& r) {
        if (named(r, kIconGroupType, kApplicationIcon)) return true;
        const auto* id = std::get_if<std::uint16_t>(&r.name);
        return r.is(kIconType) && id && oldImages.count(*id) && !sharedImages.count(*id);
    });
    // An id another group lists is taken even without its image: an image
    // given it now would count as shared next time and be kept.
    std::set<std::uint16_t> taken = sharedImages;
    for (const Resource& r : resources) {
        if (const auto* id = std::get_if<std::uint16_t>(&r.name); r.is(kIconType) && id) taken.insert(*id);
    }
    std::vector<std::uint16_t> ids;
    for (std::uint32_t id = 1; id <= 0xFFFF && ids.size() < images.size(); ++id) {
        if (!taken.count(static_cast<std::uint16_t>(id))) ids.push_back(static_cast<std::uint16_t>(id));
    }
    if (ids.size() < images.size()) return false;
    for (std::size_t i = 0; i < images.size(); ++i) resources.push_back({kIconType, ids[i], language, 0, images[i].data});
    resources.push_back({kIconGroupType, kApplicationIcon, language, 0, iconGroup(images, ids)});
    return true;
}

bool setExecutionLevel(ResourceList& resources, const std::string& level) {
    bool found = false;
    for (Resource& r : resources) {
        if (!named(r, kManifestType, kProcessManifest)) continue;
        const auto manifest = withExecutionLevel(std::string(r.data.begin(), r.data.end()), level);
        if (!manifest) return false;
        r.data.assign(manifest->begin(), manifest->end());
        found = true;
    }
    return found;
}

} // namespace

Outcome<Bytes> packLauncher(ByteView launcher, const PackInputs& inputs) {
    const auto pe = readPeFile(launcher);
    if (!pe) return Outcome<Bytes>::failure(pe.error());
    auto resources = readResources(launcher, *pe);
    if (!resources) return Outcome<Bytes>::failure(resources.error());

    if (inputs.icon && !replaceApplicationIcon(*resources, *inputs.icon)) {
        return Outcome<Bytes>::failure("it has no free icon ids left");
    }
    if (inputs.version) replaceResource(*resources, kVersionType, kVersionRecordName, buildVersionRecord(*inputs.version));
    if (inputs.settingsText) {
        const auto block = encipherSettings(withCrLfLineEnds(*inputs.settingsText), inputs.upgradeCode);
        replaceResource(*resources, Text::fromUtf8(EMBEDDED_SETTINGS_TYPE).units(), std::uint16_t{EMBEDDED_SETTINGS_NAME},
                        block);
    }
    if (inputs.executionLevel && !setExecutionLevel(*resources, *inputs.executionLevel)) {
        return Outcome<Bytes>::failure("its manifest has no requestedExecutionLevel element to change");
    }
    return withResources(launcher, *pe, *resources);
}
