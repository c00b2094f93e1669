#include "Reader.h"

#include <windows.h>

#include <cctype>
#include <map>

namespace ui {

void RegisterStandardClasses();  // Classes.cpp

namespace {

std::map<std::string, ComponentFactory>& Registry() {
    static std::map<std::string, ComponentFactory> registry;
    static bool standard = false;
    if (!standard) {
        standard = true;
        RegisterStandardClasses();
    }
    return registry;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    ObjectDesc Object() {
        ObjectDesc desc;
        desc.line = line_;
        ExpectWord("object");
        desc.name = Identifier();
        Expect(':');
        desc.className = Identifier();
        for (;;) {
            Skip();
            const std::string word = PeekWord();
            if (EqualsIdent(word, "end")) {
                Identifier();
                return desc;
            }
            if (EqualsIdent(word, "object")) {
                desc.children.push_back(Object());
                continue;
            }
            desc.properties.push_back(Property());
        }
    }

    void End() {
        Skip();
        if (pos_ != text_.size()) Fail("text after the last end");
    }

private:
    std::pair<std::string, Value> Property() {
        std::string name = Identifier();
        while (Peek() == '.') {
            ++pos_;
            name += "." + Identifier();
        }
        Expect('=');
        return {name, ParseValue()};
    }

    Value ParseValue() {
        Skip();
        Value v;
        const char c = Peek();
        if (c == '\'' || c == '#') {
            v.kind = Value::Str;
            v.text = Text();
            // A long text continues with + on the next line.
            while (Skip(), Peek() == '+') {
                ++pos_;
                Skip();
                v.text += Text();
            }
        } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c)) || c == '$') {
            v.kind = Value::Int;
            v.number = Number();
        } else if (c == '[') {
            ++pos_;
            v.kind = Value::Set;
            while (Skip(), Peek() != ']') {
                v.members.push_back(Identifier());
                Skip();
                if (Peek() == ',') ++pos_;
            }
            ++pos_;
        } else if (c == '(') {
            ++pos_;
            v.kind = Value::List;
            while (Skip(), Peek() != ')') {
                if (pos_ >= text_.size()) Fail("unterminated list");
                v.list.push_back(ParseValue());
            }
            ++pos_;
        } else if (c == '<') {
            ++pos_;
            v.kind = Value::Items;
            while (Skip(), Peek() != '>') {
                ExpectWord("item");
                PropertyList item;
                while (Skip(), !EqualsIdent(PeekWord(), "end")) item.push_back(Property());
                Identifier();
                v.items.push_back(std::move(item));
            }
            ++pos_;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            v.kind = Value::Ident;
            v.text = Identifier();
        } else {
            Fail(std::string("unexpected '") + c + "'");
        }
        return v;
    }

    std::string Text() {
        std::string out;
        for (;;) {
            const char c = Peek();
            if (c == '\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated text");
                    if (text_[pos_] == '\'') {
                        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
                            out += '\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    out += text_[pos_++];
                }
            } else if (c == '#') {
                ++pos_;
                out += static_cast<char>(Number());
            } else {
                return out;
            }
        }
    }

    long long Number() {
        bool negative = false;
        if (Peek() == '-') {
            negative = true;
            ++pos_;
        }
        long long n = 0;
        int digits = 0;
        if (Peek() == '$') {
            ++pos_;
            while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
                const char h = static_cast<char>(std::tolower(static_cast<unsigned char>(text_[pos_++])));
                n = n * 16 + (h <= '9' ? h - '0' : h - 'a' + 10);
                ++digits;
            }
        } else {
            while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
                n = n * 10 + (text_[pos_++] - '0');
                ++digits;
            }
        }
        if (digits == 0 || digits > 12) Fail("bad number");
        return negative ? -n : n;
    }

    std::string Identifier() {
        Skip();
        const size_t start = pos_;
        while (pos_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == '_')) {
            ++pos_;
        }
        if (start == pos_) Fail("identifier expected");
        return text_.substr(start, pos_ - start);
    }

    std::string PeekWord() {
        const size_t save = pos_;
        const int saveLine = line_;
        std::string word;
        if (std::isalpha(static_cast<unsigned char>(Peek()))) word = Identifier();
        pos_ = save;
        line_ = saveLine;
        return word;
    }

    void ExpectWord(const char* word) {
        if (!EqualsIdent(Identifier(), word)) Fail(std::string("'") + word + "' expected");
    }

    void Expect(char c) {
        Skip();
        if (Peek() != c) Fail(std::string("'") + c + "' expected");
        ++pos_;
    }

    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    void Skip() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                ++line_;
                ++pos_;
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
                while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
            } else {
                break;
            }
        }
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw Exception("Form description, line " + std::to_string(line_) + ": " + what);
    }

    const std::string& text_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

void RegisterComponentClass(const std::string& className, ComponentFactory factory) {
    Registry()[Lower(className)] = std::move(factory);
}

ObjectDesc ParseDescription(const std::string& text) {
    Parser parser(text);
    ObjectDesc desc = parser.Object();
    parser.End();
    return desc;
}

void Reader::Read(const ObjectDesc& description) {
    root_->BeginLoading();
    loaded_.push_back(root_);
    if (root_->Name().empty()) root_->SetName(description.name);
    ReadProperties(root_, description);
    for (const ObjectDesc& child : description.children) ReadObject(root_, child);
    for (const Fixup& f : fixups_) {
        TComponent* target = root_->FindComponent(f.name);
        if (!target) throw Exception("Form description: no component named " + f.name);
        f.assign(target);
    }
    fixups_.clear();
    for (TComponent* c : loaded_) c->Loaded();
    loaded_.clear();
}

void Reader::Reference(const Value& value, std::function<void(TComponent*)> assign) {
    const std::string& name = value.AsIdent();
    if (EqualsIdent(name, "nil")) {
        assign(nullptr);
        return;
    }
    fixups_.push_back({name, std::move(assign)});
}

void Reader::ReadProperties(TComponent* component, const ObjectDesc& desc) {
    for (const auto& [name, value] : desc.properties) {
        bool known = false;
        try {
            known = component->SetProperty(name, value, *this);
        } catch (const Exception& e) {
            throw Exception(desc.name + "." + name + ": " + e.what());
        }
        if (!known) throw Exception("Form description: " + desc.className + " has no property " + name);
    }
}

void Reader::ReadObject(TComponent* parent, const ObjectDesc& desc) {
    auto it = Registry().find(Lower(desc.className));
    if (it == Registry().end()) throw Exception("Form description: class " + desc.className + " is not registered");
    TComponent* component = it->second(root_);
    component->BeginLoading();
    component->SetName(desc.name);
    loaded_.push_back(component);
    parent->ReadChild(component);
    ReadProperties(component, desc);
    for (const ObjectDesc& child : desc.children) ReadObject(component, child);
}

void ReadComponentText(TComponent* root, const std::string& text) {
    Reader reader(root);
    reader.Read(ParseDescription(text));
}

void ReadComponentResource(TComponent* root, const std::string& resourceName) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, resourceName.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) throw Exception("Resource " + resourceName + " not found");
    HGLOBAL data = LoadResource(module, found);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!bytes) throw Exception("Resource " + resourceName + " cannot be read");
    ReadComponentText(root, std::string(bytes, SizeofResource(module, found)));
}

}  // namespace ui
