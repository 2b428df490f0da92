// zephra tokens FILE: the tokens the block reader makes of a file.

#include <iostream>

#include "cli.h"
#include "document/block_parser.h"

namespace zephra::tools {
namespace {

int RunTokens(Arguments& args) {
  if (args.size() != 1) throw UsageError("tokens takes one FILE");
  document::BlockParser parser(document::kBlockSyntaxShell);
  parser.OpenFile(args[0]);
  while (true) {
    const int token = parser.GetToken();
    std::cout << parser.CurrentLine() << '\t';
    switch (token) {
      case document::BlockParser::TokenStartBlock:
        std::cout << "BLOCK\t" << parser.BlockType() << '\t' << parser.BlockName() << '\n';
        break;
      case document::BlockParser::TokenEndBlock: std::cout << "END\n"; break;
      case document::BlockParser::TokenKeyValue:
        std::cout << "KV\t" << parser.Key() << '\t' << parser.Value() << '\n';
        break;
      default: std::cout << "EOF\n"; return 0;
    }
  }
}

const CommandRegistrar registrar(
    "tokens", "list the tokens of a block-format file",
    "usage: zephra tokens FILE\n\n"
    "Reads FILE as the suite's block reader does and prints one line per token:\n"
    "  LINE<TAB>BLOCK<TAB>TYPE<TAB>NAME\n  LINE<TAB>END\n  LINE<TAB>KV<TAB>KEY<TAB>VALUE\n  LINE<TAB>EOF\n"
    "LINE is the physical line the token ends on. A syntax error prints the tokens read so far,\n"
    "then the error, and exits 1.\n",
    RunTokens);

}  // namespace
}  // namespace zephra::tools
