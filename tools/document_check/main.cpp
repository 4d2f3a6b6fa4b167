#include <fstream>
int main(int, char** argv) { std::ofstream(argv[2]) << "\n"; return 0; }
