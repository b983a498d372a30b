#include "runtime/runtime_search_report.h"

#include "common/format.h"

namespace {

Text versionOutside(const std::optional<JavaVersion>& version, const Messages& messages) {
    return formatText(messages.text(IDS_SEARCH_VERSION_OUTSIDE), {version ? version->toText() : Text(u"?")});
}

// Empty for the outcomes that name no failed place.
Text reasonOf(const SourceRecord& source, const Messages& messages) {
    switch (source.outcome) {
    case SourceOutcome::NoRuntimeFolder:
    case SourceOutcome::NoFolder:
    case SourceOutcome::NoJavaOnPath:
    case SourceOutcome::NoCandidate: return messages.text(IDS_SEARCH_NO_RUNTIME);
    case SourceOutcome::RelativePath: return messages.text(IDS_SEARCH_NOT_FULL_PATH);
    case SourceOutcome::NoJvmLibrary: return messages.text(IDS_SEARCH_NO_JVM_LIBRARY);
    case SourceOutcome::OutsideLimits: return versionOutside(source.version, messages);
    case SourceOutcome::VersionUnknown: return messages.text(IDS_SEARCH_VERSION_UNKNOWN);
    case SourceOutcome::KindNotSearched: return messages.text(IDS_SEARCH_LEFT_OUT);
    case SourceOutcome::X86WithoutPairLauncher: return messages.text(IDS_SEARCH_32_BIT);
    case SourceOutcome::NotConfigured:
    case SourceOutcome::Chosen: break;
    }
    return {};
}

Text reasonOf(const RegistryEntryRecord& entry, const Messages& messages) {
    switch (entry.outcome) {
    case RegistryEntryOutcome::OutsideLimits: return versionOutside(entry.version, messages);
    case RegistryEntryOutcome::KindNotSearched: return messages.text(IDS_SEARCH_LEFT_OUT);
    case RegistryEntryOutcome::NoHome: return messages.text(IDS_SEARCH_NO_HOME);
    case RegistryEntryOutcome::NoJvmLibrary: return messages.text(IDS_SEARCH_NO_JVM_LIBRARY);
    case RegistryEntryOutcome::Candidate: break;
    }
    return {};
}

// The key as regedit shows it: the 32-bit view of Software is its Wow6432Node.
Text registryPlace(RegistryView view, const Text& key) {
    constexpr std::u16string_view kSoftware = u"Software";
    const std::size_t end = kSoftware.size();
    const bool underSoftware = key.length() >= end && key.left(end).equalsIgnoreCase(kSoftware) &&
                               (key.length() == end || key[end] == u'\\');
    const Text hive(u"HKLM\\");
    if (view == RegistryView::Native || !underSoftware) return hive + key;
    return hive + key.left(end) + u"\\Wow6432Node" + key.mid(end);
}

class Report {
public:
    explicit Report(const Messages& messages) : messages_(messages) {}

    void add(const Text& place, const Text& reason) {
        if (!reason.empty()) lines_.push_back(place + u": " + reason);
    }

    // The keys it opened and their entries; the hive alone when it opened none.
    void addPass(const RegistryPassRecord& pass) {
        bool opened = false;
        for (const RegistryKeyRecord& key : pass.keys) {
            if (key.outcome != RegistryKeyOutcome::Searched) continue;
            opened = true;
            const Text place = registryPlace(pass.view, key.key);
            bool entries = false;
            for (const RegistryEntryRecord& entry : pass.entries) {
                if (entry.key != key.key) continue;
                entries = true;
                const Text home = entry.home.empty() ? Text() : Text(u" ") + entry.home;
                add(place + u"\\" + entry.subkey + home, reasonOf(entry, messages_));
            }
            if (!entries) add(place, messages_.text(IDS_SEARCH_NO_RUNTIME));
        }
        if (!opened) add(registryPlace(pass.view, Text(u"Software")), messages_.text(IDS_SEARCH_NO_RUNTIME));
    }

    TextList take() { return std::move(lines_); }

private:
    const Messages& messages_;
    TextList lines_;
};

Text withFolder(std::u16string_view label, const Text& folder) {
    return folder.empty() ? Text(label) : Text(label) + u" " + folder;
}

} // namespace

TextList runtimeSearchReport(const RuntimeChoiceRecord& searched, const Text& programFolder,
                             const Messages& messages) {
    Report report(messages);
    for (const SourceRecord& source : searched.sources) {
        const Text reason = reasonOf(source, messages);
        switch (source.source) {
        case RuntimeSource::JrePath: report.add(withFolder(u"\"JRE Path\"", source.folder), reason); break;
        case RuntimeSource::PrivateRuntime:
            report.add(source.folder.empty() ? programFolder + u", " + programFolder + u"jre64\\" : source.folder,
                       reason);
            break;
        case RuntimeSource::Registry:
        case RuntimeSource::Registry32: {
            if (source.outcome != SourceOutcome::NoCandidate) {
                report.add(source.folder, reason);
                break;
            }
            const RegistryView view =
                source.source == RuntimeSource::Registry ? RegistryView::Native : RegistryView::Bits32;
            for (const RegistryPassRecord& pass : searched.passes) {
                if (pass.view == view) report.addPass(pass);
            }
            break;
        }
        case RuntimeSource::JavaHome: report.add(withFolder(u"JAVA_HOME", source.folder), reason); break;
        case RuntimeSource::PathJava: report.add(withFolder(u"PATH", source.folder), reason); break;
        case RuntimeSource::Dialog: break;
        }
    }
    return report.take();
}
