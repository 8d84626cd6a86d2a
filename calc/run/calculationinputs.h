#pragma once

// What the calculation reads at the moment it runs: the concentration percentage p and the
// litres L of the saved solution. The calculator window gives its slider and its litres editor;
// tests and benchmarks give fixed numbers.
class CalculationInputs
{
public:
    virtual ~CalculationInputs() = default;
    virtual int percentage() const = 0;
    virtual double litres() const = 0; // empty or unreadable litres count as 0
};
