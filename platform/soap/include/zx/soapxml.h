// Namespace-aware lookups in a pugixml tree, as SOAP messages need them. Platform-internal:
// the SOAP runtime reads responses with them, the loopback stand-in reads requests.
#pragma once
#include <pugixml.hpp>

#include <string_view>

namespace zx::soap {

// The part of a qualified name after its prefix.
std::string_view LocalName(const char* name);
// The namespace URI a (possibly prefixed) element or attribute name of node stands in, from
// the xmlns declarations in force there; empty when none.
std::string_view NamespaceOf(pugi::xml_node node, const char* name);
// An element with this namespace and local name.
bool IsElement(pugi::xml_node node, std::string_view ns, std::string_view local);
pugi::xml_node FirstElement(pugi::xml_node parent);
pugi::xml_node ChildElement(pugi::xml_node parent, std::string_view ns, std::string_view local);
// xsi:nil="true" (or "1") on the element.
bool IsNil(pugi::xml_node node);
// The character data of an element without child elements, in UTF-8 as the document holds it;
// false when the element has child elements.
bool ElementText(pugi::xml_node node, std::string& text);
// The same data where it stands: a view into the document when it comes in one piece, else
// into `room`, where the pieces are joined.
bool ElementTextView(pugi::xml_node node, std::string& room, std::string_view& text);

}  // namespace zx::soap
