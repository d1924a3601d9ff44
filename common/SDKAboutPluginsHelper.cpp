#include "SDKAboutPluginsHelper.h"
#include <cstddef>

#include <cstring>
#include <string>

#include "LiteralEncoding.h"
#include "Suites.h"

namespace {

constexpr int32_t kAddToGroup = 0;
constexpr int32_t kSubMenuOptions = 1;

// Acquires the suite into slot when the helper has none, and gives it back
// when the scope ends, so the helper holds nothing between calls.
template <typename SuiteT>
class BorrowedSuite {
public:
    BorrowedSuite(const SuiteT*& slot, const char* name, int32_t version)
        : fSlot(slot), fName(name), fVersion(version) {
        if (fSlot != nullptr || sSPBasic == nullptr) {
            fError = fSlot != nullptr ? kNoErr : kSPSuiteNotFoundError;
            return;
        }
        const void* suite = nullptr;
        fError = sSPBasic->AcquireSuite(name, version, &suite);
        if (fError == kNoErr && suite == nullptr) fError = kSPSuiteNotFoundError;
        if (fError == kNoErr) {
            fSlot = static_cast<const SuiteT*>(suite);
            fOwned = true;
        }
    }
    ~BorrowedSuite() {
        if (!fOwned) return;
        sSPBasic->ReleaseSuite(fName, fVersion);
        fSlot = nullptr;
    }
    AIErr Error() const { return fError; }

    BorrowedSuite(const BorrowedSuite&) = delete;
    BorrowedSuite& operator=(const BorrowedSuite&) = delete;

private:
    const SuiteT*& fSlot;
    const char* fName;
    int32_t fVersion;
    AIErr fError = kNoErr;
    bool fOwned = false;
};

}  // namespace

AIErr SDKAboutPluginsHelper::AddAboutPluginsMenuItem(SPInterfaceMessage* message, const char* groupName,
                                                     const ai::UnicodeString& groupText, const char* itemText,
                                                     AIMenuItemHandle* menuItem) {
    BorrowedSuite<AIMenuSuite> menu(fMenuSuite, kAIMenuSuite, kAIMenuSuiteVersion);
    AIErr error = menu.Error();
    if (error != kNoErr) return error;

    bool exists = false;
    error = GroupExists(groupName, &exists);
    if (error == kNoErr && !exists) {
        AIMenuItemHandle groupItem = nullptr;
        error = fMenuSuite->AddMenuItem(message->d.self, nullptr, kAboutMenuGroup, groupText.get(), kAddToGroup,
                                        &groupItem);
        if (error == kNoErr) {
            AIMenuGroup group = nullptr;
            error = fMenuSuite->AddMenuGroupAsSubMenu(groupName, kSubMenuOptions, groupItem, &group);
        }
    }
    if (error == kNoErr) {
        AIMenuItemHandle item = nullptr;
        const ai::UnicodeString text(itemText, kLiteralEncoding);
        error = fMenuSuite->AddMenuItem(message->d.self, nullptr, groupName, text.get(), kAddToGroup, &item);
        if (error == kNoErr && menuItem != nullptr) *menuItem = item;
    }
    return error;
}

AIErr SDKAboutPluginsHelper::GroupExists(const char* name, bool* exists) {
    *exists = false;
    BorrowedSuite<AIMenuSuite> menu(fMenuSuite, kAIMenuSuite, kAIMenuSuiteVersion);
    AIErr error = menu.Error();
    if (error != kNoErr) return error;

    int32_t count = 0;
    error = fMenuSuite->CountMenuGroups(&count);
    if (error != kNoErr) return error;
    for (int32_t i = 0; i < count; ++i) {
        AIMenuGroup group = nullptr;
        error = fMenuSuite->GetNthMenuGroup(i, &group);
        if (error != kNoErr) return error;
        const char* groupName = nullptr;
        error = fMenuSuite->GetMenuGroupName(group, &groupName);
        if (error != kNoErr) return error;
        if (groupName != nullptr && name != nullptr && std::strcmp(groupName, name) == 0) {
            *exists = true;
            break;
        }
    }
    return kNoErr;
}

void SDKAboutPluginsHelper::PopAboutBox(AIMenuMessage*, const char* title, const char* text) {
    BorrowedSuite<AIUserSuite> user(fUserSuite, kAIUserSuite, kAIUserSuiteVersion);
    if (user.Error() != kNoErr) return;
    std::string box = title != nullptr ? title : "";
    box += "\n\n";
    box += text != nullptr ? text : "";
    const ai::UnicodeString message(box, kLiteralEncoding);
    fUserSuite->MessageAlert(message.get());
}

namespace {

constexpr std::size_t kTextBufferSize = 260;

// A text through the 260-byte buffer every alert text takes: cut at a whole character.
struct BufferedText {
    char bytes[kTextBufferSize];
    explicit BufferedText(const char* text) {
        ai::UnicodeString(text, kLiteralEncoding).getToBuffer(bytes, sizeof bytes, kLiteralEncoding);
    }
};

}  // namespace

void AddAboutEntry(SPInterfaceMessage* message, const char* groupName, const char* entryText,
                   AIMenuItemHandle* menuItem) {
    try {
        const BufferedText group(groupName);
        const BufferedText entry(entryText);
        SDKAboutPluginsHelper aboutPluginsHelper;
        aboutPluginsHelper.AddAboutPluginsMenuItem(
            message, group.bytes, ai::UnicodeString(group.bytes, kLiteralEncoding), entry.bytes, menuItem);
    } catch (const ai::Error&) {}
}

void ShowAboutBox(AIMenuMessage* message, const char* title, const char* text) {
    const BufferedText titleText(title);
    const BufferedText bodyText(text);
    SDKAboutPluginsHelper aboutPluginsHelper;
    aboutPluginsHelper.PopAboutBox(message, titleText.bytes, bodyText.bytes);
}
