#include "kit/branding/version_block.h"

#include <algorithm>

#include "kit/byte_view.h"
#include "kit/branding/utf16_text.h"

namespace kit::branding {

namespace {

// Every node of the block: its length, its value's length, its type (1 for
// text), its key as NUL-terminated UTF-16, its value and then its children,
// each aligned on 4 bytes from the block's start.
constexpr std::uint64_t kNodeHeaderSize = 6;
constexpr std::uint64_t kValueLengthField = 2;
constexpr std::uint64_t kTypeField = 4;
constexpr std::uint16_t kTextType = 1;
constexpr std::uint64_t kAlignment = 4;
constexpr std::uint64_t kUnitSize = 2;

constexpr char kRootKey[] = "VS_VERSION_INFO";
constexpr char kStringsKey[] = "StringFileInfo";
// The fixed part: its signature, then the versions as two 32-bit words each,
// the more significant first, each holding two parts.
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint64_t kFixedSize = 52;
constexpr std::uint64_t kFileVersionField = 8;
constexpr std::uint64_t kProductVersionField = 16;
constexpr int kPartBits = 16;
constexpr std::uint32_t kPartMask = 0xFFFF;
constexpr unsigned kLargestPart = 0xFFFF;
constexpr unsigned kDecimal = 10;

std::uint64_t Aligned(std::uint64_t at) { return (at + kAlignment - 1) / kAlignment * kAlignment; }

struct Node {
  std::uint64_t start = 0;
  std::uint64_t end = 0;  // start + its length
  std::uint16_t valueLength = 0;
  std::uint16_t type = 0;
  std::string key;
  std::uint64_t value = 0;     // where its value starts
  std::uint64_t children = 0;  // where its children start
};

class BlockReader {
 public:
  explicit BlockReader(const std::string& data) : m_data(data), m_view(data) {}

  bool ReadNode(std::uint64_t at, std::uint64_t limit, Node& node) {
    std::uint16_t length = 0;
    if (!m_view.U16(at, length) || !m_view.U16(at + kValueLengthField, node.valueLength) ||
        !m_view.U16(at + kTypeField, node.type) || length < kNodeHeaderSize || at + length > limit) {
      return Fail("a node's length runs past the block it is in");
    }
    node.start = at;
    node.end = at + length;
    std::uint64_t keyEnd = at + kNodeHeaderSize;
    if (!TextUntilNul(keyEnd, node.end, node.key)) return Fail("a node's key runs past the node");
    node.value = Aligned(keyEnd);
    const std::uint64_t valueBytes = node.type == kTextType ? node.valueLength * kUnitSize : node.valueLength;
    node.children = std::min(node.end, Aligned(node.value + valueBytes));
    return true;
  }

  // The NUL-terminated UTF-16 text from `at`, which is left after the NUL.
  bool TextUntilNul(std::uint64_t& at, std::uint64_t limit, std::string& text) {
    for (std::uint64_t end = at; end + kUnitSize <= limit; end += kUnitSize) {
      std::uint16_t unit = 0;
      m_view.U16(end, unit);
      if (unit == 0) {
        text = Utf8FromUtf16(m_data, at, (end - at) / kUnitSize);
        at = end + kUnitSize;
        return true;
      }
    }
    return false;
  }

  bool ReadFixed(const Node& root, VersionBlock& block) {
    std::uint32_t signature = 0;
    if (root.valueLength < kFixedSize || !m_view.Holds(root.value, kFixedSize) || !m_view.U32(root.value, signature) ||
        signature != kFixedSignature) {
      return Fail("its fixed part is missing or has no signature");
    }
    const auto read = [this, &root](std::uint64_t field, VersionNumber& version) {
      std::uint32_t high = 0;
      std::uint32_t low = 0;
      m_view.U32(root.value + field, high);
      m_view.U32(root.value + field + sizeof high, low);
      version = {static_cast<std::uint16_t>(high >> kPartBits), static_cast<std::uint16_t>(high & kPartMask),
                 static_cast<std::uint16_t>(low >> kPartBits), static_cast<std::uint16_t>(low & kPartMask)};
    };
    read(kFileVersionField, block.fileVersion);
    read(kProductVersionField, block.productVersion);
    return true;
  }

  bool ReadTable(const Node& tableNode, VersionStringTable& table) {
    table.key = tableNode.key;
    for (std::uint64_t at = tableNode.children; at + kNodeHeaderSize <= tableNode.end;) {
      Node string;
      if (!ReadNode(at, tableNode.end, string)) return false;
      std::string value;
      std::uint64_t valueAt = string.value;
      if (string.valueLength > 0 && !TextUntilNul(valueAt, string.end, value)) {
        return Fail("the value of " + string.key + " runs past its node");
      }
      table.strings.emplace_back(string.key, value);
      at = Aligned(string.end);
    }
    return true;
  }

  bool Fail(std::string why) {
    m_why = std::move(why);
    return false;
  }
  const std::string& Why() const { return m_why; }

 private:
  const std::string& m_data;
  ByteView m_view;
  std::string m_why;
};

}  // namespace

std::string VersionText(const VersionNumber& version) {
  return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]) + "." +
         std::to_string(version[3]);
}

bool ParseVersionNumber(const std::string& text, VersionNumber& version) {
  size_t part = 0;
  unsigned value = 0;
  bool digits = false;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char ch = i < text.size() ? text[i] : '.';
    if (ch >= '0' && ch <= '9') {
      value = value * kDecimal + static_cast<unsigned>(ch - '0');
      if (value > kLargestPart) return false;
      digits = true;
    } else if (ch == '.' && digits && part < version.size()) {
      version[part++] = static_cast<std::uint16_t>(value);
      value = 0;
      digits = false;
    } else {
      return false;
    }
  }
  return part == version.size();
}

const std::string* VersionBlock::String(const std::string& name) const {
  for (const VersionStringTable& table : tables) {
    for (const auto& entry : table.strings) {
      if (entry.first == name) return &entry.second;
    }
  }
  return nullptr;
}

bool ParseVersionBlock(const std::string& data, VersionBlock& block, std::string& why) {
  block = VersionBlock();
  BlockReader reader(data);
  Node root;
  if (!reader.ReadNode(0, data.size(), root) || root.key != kRootKey) {
    why = reader.Why().empty() ? "it does not start with " + std::string(kRootKey) : reader.Why();
    return false;
  }
  if (!reader.ReadFixed(root, block)) {
    why = reader.Why();
    return false;
  }
  for (std::uint64_t at = root.children; at + kNodeHeaderSize <= root.end;) {
    Node child;
    if (!reader.ReadNode(at, root.end, child)) {
      why = reader.Why();
      return false;
    }
    if (child.key == kStringsKey) {
      for (std::uint64_t tableAt = child.children; tableAt + kNodeHeaderSize <= child.end;) {
        Node tableNode;
        VersionStringTable table;
        if (!reader.ReadNode(tableAt, child.end, tableNode) || !reader.ReadTable(tableNode, table)) {
          why = reader.Why();
          return false;
        }
        block.tables.push_back(std::move(table));
        tableAt = Aligned(tableNode.end);
      }
    }
    at = Aligned(child.end);
  }
  return true;
}

}  // namespace kit::branding
