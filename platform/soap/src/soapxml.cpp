// Namespace-aware lookups in pugixml trees.
#include "zx/soapxml.h"

#include <cstring>
#include <string>

namespace zx::soap {
namespace {

constexpr const char* kSchemaInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";

}  // namespace

std::string_view LocalName(const char* name) {
  const char* colon = std::strchr(name, ':');
  return colon ? colon + 1 : name;
}

std::string_view NamespaceOf(pugi::xml_node node, const char* name) {
  const char* colon = std::strchr(name, ':');
  const std::string declaration =
      colon ? "xmlns:" + std::string(name, static_cast<std::size_t>(colon - name)) : "xmlns";
  for (pugi::xml_node scope = node; scope; scope = scope.parent()) {
    if (pugi::xml_attribute attribute = scope.attribute(declaration.c_str())) return attribute.value();
  }
  return {};
}

bool IsElement(pugi::xml_node node, std::string_view ns, std::string_view local) {
  return node.type() == pugi::node_element && LocalName(node.name()) == local &&
         NamespaceOf(node, node.name()) == ns;
}

pugi::xml_node FirstElement(pugi::xml_node parent) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element) return child;
  return {};
}

pugi::xml_node ChildElement(pugi::xml_node parent, std::string_view ns, std::string_view local) {
  for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
    if (IsElement(child, ns, local)) return child;
  return {};
}

bool IsNil(pugi::xml_node node) {
  for (pugi::xml_attribute attribute : node.attributes()) {
    if (LocalName(attribute.name()) != "nil" || std::strchr(attribute.name(), ':') == nullptr) continue;
    if (NamespaceOf(node, attribute.name()) != kSchemaInstanceNamespace) continue;
    return std::strcmp(attribute.value(), "true") == 0 || std::strcmp(attribute.value(), "1") == 0;
  }
  return false;
}

bool ElementTextView(pugi::xml_node node, std::string& room, std::string_view& text) {
  text = {};
  bool joined = false;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) return false;
    if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata) continue;
    if (text.empty() && !joined) {
      text = child.value();
      continue;
    }
    if (!joined) room.assign(text);
    joined = true;
    room += child.value();
    text = room;
  }
  return true;
}

bool ElementText(pugi::xml_node node, std::string& text) {
  std::string room;
  std::string_view view;
  if (!ElementTextView(node, room, view)) return false;
  text.assign(view);
  return true;
}

}  // namespace zx::soap
