// Form descriptions: a text that lists a form's components, their properties in the order they
// are set, and the names of their event handlers. Read through a registry of component classes.
//
//   object Form1: TForm1
//     Caption = 'Title'
//     OnCreate = FormCreate
//     object List: TListView
//       Columns = <
//         item
//           Caption = 'Name'
//         end>
//     end
//   end
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Component.h"

namespace ui {

using ComponentFactory = std::function<TComponent*(TComponent* owner)>;

// The classes a description may name. The class library's own are registered on first use.
void RegisterComponentClass(const std::string& className, ComponentFactory factory);
template <class T>
void RegisterComponentClass(const std::string& className) {
    RegisterComponentClass(className, [](TComponent* owner) -> TComponent* { return new T(owner); });
}

struct ObjectDesc {
    std::string name, className;
    PropertyList properties;
    std::vector<ObjectDesc> children;
    int line = 0;
};

// Parses one description; throws Exception naming the line on a syntax error.
ObjectDesc ParseDescription(const std::string& text);

class Reader {
public:
    explicit Reader(TComponent* root) : root_(root) {}

    // Sets the root's properties and creates its components, then resolves references and tells
    // every component that loading is over.
    void Read(const ObjectDesc& description);

    TComponent* Root() const { return root_; }

    // A reference to another component of the form, resolved once every component exists.
    void Reference(const Value& value, std::function<void(TComponent*)> assign);

    // The root's handler of the given name and signature; an empty name gives no handler.
    template <class Sig>
    std::function<Sig> Method(const Value& value) {
        const std::string& name = value.AsIdent();
        const std::any* found = root_->FindMethod(name);
        if (!found) throw Exception("Handler " + name + " is not published by " + root_->Name());
        const auto* method = std::any_cast<std::function<Sig>>(found);
        if (!method) throw Exception("Handler " + name + " does not fit the event it is bound to");
        return *method;
    }

private:
    void ReadProperties(TComponent* component, const ObjectDesc& desc);
    void ReadObject(TComponent* parent, const ObjectDesc& desc);

    struct Fixup {
        std::string name;
        std::function<void(TComponent*)> assign;
    };
    TComponent* root_;
    std::vector<TComponent*> loaded_;
    std::vector<Fixup> fixups_;
};

// Reads the description stored as the named RCDATA resource of the program into root.
void ReadComponentResource(TComponent* root, const std::string& resourceName);
// Reads a description given as text into root (tests and tools).
void ReadComponentText(TComponent* root, const std::string& text);

}  // namespace ui
