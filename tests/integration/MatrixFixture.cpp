// The fault matrix's fixture.
#include "MatrixFixture.h"

#include <vector>

MatrixFixture::MatrixFixture() : m_trelox(m_bus, m_locks, m_temp.Path()) {}

void MatrixFixture::ExpectNothingLeftOpen(const std::string& flashFile) const
{
    EXPECT_FALSE(m_trelox.DescriptorsAtEnd().empty()) << "no report: the program did not end through exit";
    EXPECT_EQ(m_trelox.LeftOpen(flashFile), std::vector<std::string>());
}
