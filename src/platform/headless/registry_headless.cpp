#include <algorithm>
#include <cstring>
#include <iterator>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/headless/letter_case.h"
#include "platform/headless/registry_tree.h"
#include "platform/registry.h"

namespace platform::headless {
namespace {

struct RegistryValue {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

struct RegistryNode {
    std::string name;
    // By lower-case name: the order the platform enumerates subkeys in.
    std::map<std::string, std::shared_ptr<RegistryNode>> children;
    std::vector<RegistryValue> values;
};

struct RegistryState {
    std::mutex mutex;
    std::shared_ptr<RegistryNode> currentUser = std::make_shared<RegistryNode>();
    std::shared_ptr<RegistryNode> localMachine = std::make_shared<RegistryNode>();
    std::vector<RegistryOpenRequest> requests;
    // Keys handed out; a handle is the address of its element. Each holds its
    // node, so a key stays valid even if a test resets the tree meanwhile.
    std::list<std::shared_ptr<RegistryNode>> open;
};

RegistryState& State()
{
    static RegistryState state;
    return state;
}

std::shared_ptr<RegistryNode>& RootNode(RegistryState& state, RegistryRoot root)
{
    return root == RegistryRoot::CurrentUser ? state.currentUser : state.localMachine;
}

std::vector<std::string_view> SplitPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const auto separator = path.find('\\');
        parts.push_back(path.substr(0, separator));
        if (separator == std::string_view::npos) {
            break;
        }
        path.remove_prefix(separator + 1);
    }
    return parts;
}

std::shared_ptr<RegistryNode> Child(const RegistryNode& node, std::string_view name)
{
    const auto found = node.children.find(Folded(name));
    return found == node.children.end() ? nullptr : found->second;
}

// Follows path below node; creates missing keys when asked. Null when a key
// is missing (and not to be created) or a path component is empty.
std::shared_ptr<RegistryNode> Walk(std::shared_ptr<RegistryNode> node, std::string_view path, bool create)
{
    for (const auto part : SplitPath(path)) {
        if (part.empty()) {
            return nullptr;
        }
        auto child = Child(*node, part);
        if (child == nullptr) {
            if (!create) {
                return nullptr;
            }
            child = std::make_shared<RegistryNode>();
            child->name = std::string(part);
            node->children.emplace(Folded(part), child);
        }
        node = std::move(child);
    }
    return node;
}

RegistryValue* FindValue(RegistryNode& node, std::string_view name)
{
    for (auto& value : node.values) {
        if (SameIgnoringCase(value.name, name)) {
            return &value;
        }
    }
    return nullptr;
}

void StoreValue(RegistryNode& node, const std::string& name, std::uint32_t type, std::string data)
{
    if (auto* value = FindValue(node, name)) {
        value->type = type;
        value->data = std::move(data);
        return;
    }
    node.values.push_back({name, type, std::move(data)});
}

RegistryNode& NodeOf(void* handle)
{
    return **static_cast<std::shared_ptr<RegistryNode>*>(handle);
}

}  // namespace

void AddRegistryKey(RegistryRoot root, std::string_view path)
{
    auto& state = State();
    std::lock_guard lock(state.mutex);
    Walk(RootNode(state, root), path, true);
}

void SetRegistryValue(RegistryRoot root, std::string_view path, const std::string& valueName, std::uint32_t type,
                      std::string data)
{
    auto& state = State();
    std::lock_guard lock(state.mutex);
    if (auto node = Walk(RootNode(state, root), path, true)) {
        StoreValue(*node, valueName, type, std::move(data));
    }
}

void SetRegistryString(RegistryRoot root, std::string_view path, const std::string& valueName, std::string_view text)
{
    std::string data(text);
    data.push_back('\0');
    SetRegistryValue(root, path, valueName, REGISTRY_TYPE_STRING, std::move(data));
}

std::vector<std::string> RegistrySubKeys(RegistryRoot root, std::string_view path)
{
    auto& state = State();
    std::lock_guard lock(state.mutex);
    std::vector<std::string> names;
    if (const auto node = Walk(RootNode(state, root), path, false)) {
        for (const auto& [folded, child] : node->children) {
            names.push_back(child->name);
        }
    }
    return names;
}

std::vector<RegistryOpenRequest> RegistryOpenRequests()
{
    std::lock_guard lock(State().mutex);
    return State().requests;
}

int OpenRegistryKeyCount()
{
    std::lock_guard lock(State().mutex);
    return static_cast<int>(State().open.size());
}

void ResetRegistry()
{
    auto& state = State();
    std::lock_guard lock(state.mutex);
    state.currentUser = std::make_shared<RegistryNode>();
    state.localMachine = std::make_shared<RegistryNode>();
    state.requests.clear();
}

}  // namespace platform::headless

namespace platform {
namespace {

using headless::RegistryNode;

// Opens (or creates) path below node and hands out a handle for it.
void* OpenHandle(std::shared_ptr<RegistryNode> node, const std::string& path, std::uint32_t access, bool create)
{
    auto& state = headless::State();
    state.requests.push_back({path, access});
    auto found = headless::Walk(std::move(node), path, create);
    if (found == nullptr) {
        return nullptr;
    }
    return &state.open.emplace_back(std::move(found));
}

}  // namespace

RegistryKey RegistryKey::Open(RegistryRoot root, const std::string& path, std::uint32_t access)
{
    auto& state = headless::State();
    std::lock_guard lock(state.mutex);
    return RegistryKey(OpenHandle(headless::RootNode(state, root), path, access, false));
}

RegistryKey RegistryKey::Create(RegistryRoot root, const std::string& path, std::uint32_t access)
{
    auto& state = headless::State();
    std::lock_guard lock(state.mutex);
    return RegistryKey(OpenHandle(headless::RootNode(state, root), path, access, true));
}

RegistryKey RegistryKey::OpenSubKey(const std::string& path, std::uint32_t access) const
{
    if (!m_handle) {
        return RegistryKey();
    }
    auto& state = headless::State();
    std::lock_guard lock(state.mutex);
    return RegistryKey(OpenHandle(*static_cast<std::shared_ptr<RegistryNode>*>(m_handle.Get()), path, access, false));
}

void RegistryKey::ReleaseHandle(void* handle)
{
    auto& state = headless::State();
    std::lock_guard lock(state.mutex);
    state.open.remove_if([handle](const std::shared_ptr<RegistryNode>& node) { return &node == handle; });
}

bool RegistryKey::EnumSubKey(std::uint32_t index, std::span<char> name) const
{
    if (!m_handle || name.empty()) {
        return false;
    }
    std::lock_guard lock(headless::State().mutex);
    const auto& children = headless::NodeOf(m_handle.Get()).children;
    if (index >= children.size()) {
        return false;
    }
    const auto& stored = std::next(children.begin(), index)->second->name;
    if (stored.size() + 1 > name.size()) {
        return false;
    }
    std::memcpy(name.data(), stored.c_str(), stored.size() + 1);
    return true;
}

bool RegistryKey::QueryValue(const std::string& valueName, std::span<char> data, std::uint32_t& length,
                             std::uint32_t* type) const
{
    if (!m_handle || data.empty()) {
        return false;
    }
    std::lock_guard lock(headless::State().mutex);
    const auto* value = headless::FindValue(headless::NodeOf(m_handle.Get()), valueName);
    if (value == nullptr) {
        return false;
    }
    length = static_cast<std::uint32_t>(value->data.size());
    if (type != nullptr) {
        *type = value->type;
    }
    if (value->data.size() > data.size()) {
        return false;
    }
    std::memcpy(data.data(), value->data.data(), value->data.size());
    return true;
}

std::optional<std::uint32_t> RegistryKey::QueryValueSize(const std::string& valueName) const
{
    if (!m_handle) {
        return std::nullopt;
    }
    std::lock_guard lock(headless::State().mutex);
    const auto* value = headless::FindValue(headless::NodeOf(m_handle.Get()), valueName);
    if (value == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value->data.size());
}

bool RegistryKey::SetStringValue(const std::string& valueName, const std::string& text) const
{
    if (!m_handle) {
        return false;
    }
    std::lock_guard lock(headless::State().mutex);
    headless::StoreValue(headless::NodeOf(m_handle.Get()), valueName, REGISTRY_TYPE_STRING,
                         std::string(text.c_str(), text.size() + 1));
    return true;
}

}  // namespace platform
