#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include "prelix10/compiler/DocumentArena.hpp"
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "prelix10/command/BaseBuilder.hpp"

namespace VelmarCommandParser {

// Raised inside a document walk when the document is malformed part-way (a missing key, a value
// of the wrong kind) or nested too deeply; it ends the walk and the compilation yields no bytes.
class DocumentWalkError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One category of the command document: reports the nesting rank to its builder and dispatches
// the category's method items to handlers.
class ElementParser {
  public:
    using Handler = std::function<void(const DocumentTree* parameter)>;

    // Categories nested deeper than this are refused.
    static constexpr std::int32_t kMaxDepth = 1000;

    ElementParser(PrinterCommandBuilder::BaseBuilder* builder, std::string categoryName);
    ElementParser(const ElementParser&) = delete;
    ElementParser& operator=(const ElementParser&) = delete;
    virtual ~ElementParser() = default;

    // True when this parser took the element (its category matched). Throws DocumentWalkError.
    bool parse(const DocumentTree* element, std::int32_t depth);

    const std::string& categoryName() const { return categoryName_; }
    bool hasContentsHandler(std::string_view method) const {
        return contentsHandlers_.find(method) != nullptr;
    }

  protected:
    // Offered every nested category; may hold this parser itself.
    void addChild(ElementParser* child) { children_.push_back(child); }
    // Takes ownership of a child parser and offers it nested categories.
    void addOwnedChild(std::unique_ptr<ElementParser> child);
    // The method name is kept as a view: pass a string that outlives the parser (a literal).
    void setContentsHandler(std::string_view method, Handler handler) {
        contentsHandlers_.set(method, std::move(handler));
    }
    void setParametersHandler(std::string_view method, Handler handler) {
        parametersHandlers_.set(method, std::move(handler));
    }
    void clearContentsHandlers() { contentsHandlers_.clear(); }

    PrinterCommandBuilder::BaseBuilder* builder_;
    std::string categoryName_;
    std::string logName_;

  private:
    // Handlers by method name, kept sorted in one block: parsers are made for every compile, so
    // their tables are built without a node or a string copy per method.
    class HandlerTable {
      public:
        void set(std::string_view method, Handler handler);
        const Handler* find(std::string_view method) const;
        void clear() { entries_.clear(); }

      private:
        std::vector<std::pair<std::string_view, Handler>> entries_;
    };

    void dispatch(const DocumentTree& item, const HandlerTable& handlers) const;

    std::vector<ElementParser*> children_;
    std::vector<std::unique_ptr<ElementParser>> ownedChildren_;
    HandlerTable contentsHandlers_;
    HandlerTable parametersHandlers_;
};

}  // namespace VelmarCommandParser
