#pragma once

class Section;

// One section of a page with its share of the page's width; the section is not owned.
struct UISection
{
    Section* section = nullptr;
    int weight = 1;
};
